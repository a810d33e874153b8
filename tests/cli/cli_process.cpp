#include "cli/cli_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <stdexcept>

extern char** environ;

namespace zel::testing {
namespace {

long long NowUs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

std::vector<std::string> Environment(const std::vector<std::string>& extra) {
  std::map<std::string, std::string> vars;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    vars[entry.substr(0, entry.find('='))] = entry;
  }
  for (const std::string& entry : extra) vars[entry.substr(0, entry.find('='))] = entry;
  std::vector<std::string> out;
  for (auto& [name, entry] : vars) out.push_back(entry);
  return out;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> out;
  for (std::string& t : texts) out.push_back(t.data());
  out.push_back(nullptr);
  return out;
}

// Pipes for stdout and stderr, or a pseudo-terminal for stderr: {read, write}.
void OpenStreams(bool terminal, int out[2], int err[2]) {
  if (pipe(out) != 0) throw std::runtime_error("pipe failed");
  const int made = terminal ? openpty(&err[0], &err[1], nullptr, nullptr, nullptr) : pipe(err);
  if (made != 0) throw std::runtime_error("pipe or pty failed");
}

[[noreturn]] void ExecChild(std::vector<std::string> argv, std::vector<std::string> env, int out[2],
                            int err[2]) {
  dup2(out[1], STDOUT_FILENO);
  dup2(err[1], STDERR_FILENO);
  for (int fd : {out[0], out[1], err[0], err[1]}) close(fd);
  const std::vector<char*> args = Pointers(argv);
  const std::vector<char*> vars = Pointers(env);
  execve(args[0], args.data(), vars.data());
  _exit(127);
}

}  // namespace

CliProcess::CliProcess(const std::vector<std::string>& args, const CliOptions& options) {
  std::vector<std::string> argv = {ZELBASE_CLI_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> env = Environment(options.env);
  int out[2];
  int err[2];
  OpenStreams(options.stderrOnTerminal, out, err);
  deadlineUs_ = NowUs() + options.deadlineMs * 1000LL;
  pid_ = fork();
  if (pid_ == 0) ExecChild(std::move(argv), std::move(env), out, err);
  close(out[1]);
  close(err[1]);
  outFd_ = out[0];
  errFd_ = err[0];
}

CliProcess::~CliProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (outFd_ >= 0) close(outFd_);
  if (errFd_ >= 0) close(errFd_);
}

bool CliProcess::Pump() {
  pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
  const int waitMs = static_cast<int>((deadlineUs_ - NowUs()) / 1000);
  if (waitMs <= 0) return false;
  const int ready = poll(fds, 2, waitMs);
  if (ready < 0) return errno == EINTR;
  if (ready == 0) return false;
  int* fdOf[2] = {&outFd_, &errFd_};
  std::string* bufferOf[2] = {&out_, &err_};
  for (int i = 0; i < 2; ++i) {
    if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    char chunk[4096];
    const ssize_t n = read(fds[i].fd, chunk, sizeof chunk);
    if (n > 0) {
      bufferOf[i]->append(chunk, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {  // a pty reports its end as EIO
      close(*fdOf[i]);
      *fdOf[i] = -1;
    }
  }
  return true;
}

bool CliProcess::ReadLine(std::string& buffer, int& fd, std::size_t& taken, std::string& line) {
  for (;;) {
    const std::size_t end = buffer.find('\n', taken);
    if (end != std::string::npos) {
      line = buffer.substr(taken, end - taken);
      taken = end + 1;
      return true;
    }
    if (fd < 0 || !Pump()) return false;
  }
}

bool CliProcess::WaitForErr(const std::string& part) {
  while (err_.find(part) == std::string::npos) {
    if (errFd_ < 0 || !Pump()) return false;
  }
  return true;
}

void CliProcess::Signal(int signal) {
  if (pid_ > 0) kill(pid_, signal);
}

CliResult CliProcess::Finish() {
  while ((outFd_ >= 0 || errFd_ >= 0) && Pump()) {
  }
  if (outFd_ >= 0 || errFd_ >= 0) kill(pid_, SIGKILL);  // past the deadline
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  CliResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = out_;
  result.err = err_;
  return result;
}

CliResult RunCli(const std::vector<std::string>& args, const CliOptions& options) {
  CliProcess process(args, options);
  return process.Finish();
}

}  // namespace zel::testing
