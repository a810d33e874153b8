// ser2net in the foreground for the life of the object: an RFC 2217 server
// on a free loopback port in front of one tty.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace zel::testing {

class Ser2netProcess {
 public:
  /// The installed ser2net: on PATH, or in the sbin folders Debian puts it
  /// in, which a user's PATH often lacks. Empty when it is not installed.
  static std::string Find();

  Ser2netProcess(const std::string& program, const std::string& ttyPath);
  ~Ser2netProcess();
  Ser2netProcess(const Ser2netProcess&) = delete;
  Ser2netProcess& operator=(const Ser2netProcess&) = delete;

  /// "rfc2217://127.0.0.1:PORT" once it listens; empty when it did not start.
  std::string Path() const;
  /// Why it did not start, with what it printed.
  std::string Problem() const { return problem_; }

 private:
  bool Start(const std::string& program, const std::string& ttyPath, uint16_t port);
  bool AwaitListening(int timeoutMs);
  std::string TakeOutput();
  void Stop();

  pid_t pid_ = -1;
  int output_ = -1;  // ser2net's stdout and stderr
  uint16_t port_ = 0;
  bool listening_ = false;
  std::string problem_;
};

}  // namespace zel::testing
