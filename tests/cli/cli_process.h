// Runs zelbase-cli as a child process: arguments, extra environment, stdout
// and stderr captured through pipes (stderr optionally on a pseudo-terminal).
// A watchdog kills a child that outlives its deadline, so no test can hang.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace zel::testing {

struct CliResult {
  int exitCode = -1;  ///< 128 + signal when the child was killed
  std::string out;
  std::string err;
};

struct CliOptions {
  std::vector<std::string> env;  ///< "NAME=value", added to or replacing ours
  bool stderrOnTerminal = false;
  int deadlineMs = 30000;
};

class CliProcess {
 public:
  explicit CliProcess(const std::vector<std::string>& args, const CliOptions& options = {});
  ~CliProcess();
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  /// The next whole line of stdout (without "\n"); false at its end.
  bool ReadOutLine(std::string& line) { return ReadLine(out_, outFd_, outTaken_, line); }
  /// The next whole line of stderr; false at its end.
  bool ReadErrLine(std::string& line) { return ReadLine(err_, errFd_, errTaken_, line); }
  /// Waits until stderr holds `part`; false when it ended first.
  bool WaitForErr(const std::string& part);
  void Signal(int signal);
  /// Reads the rest of both streams and waits for the exit.
  CliResult Finish();

 private:
  bool ReadLine(std::string& buffer, int& fd, std::size_t& taken, std::string& line);
  /// Waits for bytes on the open streams once; false past the deadline.
  bool Pump();

  pid_t pid_ = -1;
  int outFd_ = -1;
  int errFd_ = -1;
  std::string out_;
  std::string err_;
  std::size_t outTaken_ = 0;
  std::size_t errTaken_ = 0;
  long long deadlineUs_ = 0;
};

/// Runs the program to its end.
CliResult RunCli(const std::vector<std::string>& args, const CliOptions& options = {});

}  // namespace zel::testing
