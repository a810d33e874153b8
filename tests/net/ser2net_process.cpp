#include "ser2net_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace zel::testing {
namespace {

constexpr int kStartAttempts = 3;
constexpr int kListenTimeoutMs = 5000;
constexpr int kStopTimeoutMs = 2000;
constexpr auto kPollStep = std::chrono::milliseconds(5);

// Free now; another program may take it before ser2net does, so a start
// that fails is tried again on another port.
uint16_t FreeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  const bool ok = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0;
  if (fd >= 0) ::close(fd);
  return ok ? ntohs(a.sin_port) : 0;
}

// Read from the kernel's socket table rather than by connecting: a probe
// connection would open the tty and occupy ser2net's only connection.
bool Listening(uint16_t port) {
  char want[16];
  std::snprintf(want, sizeof want, "0100007F:%04X", port);
  std::ifstream in("/proc/net/tcp");
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state;
    fields >> slot >> local >> remote >> state;
    if (local == want && state == "0A") return true;
  }
  return false;
}

// Without nodelay, as here, ser2net turns Nagle on: a reply that follows an
// unacknowledged answer waits for our ACK, so the client must not delay it
// (40 ms would outlast an echo). The easier nodelay setting is left untried.
std::vector<std::string> ConfigLines(const std::string& ttyPath, uint16_t port) {
  return {"connection: &zel", "  accepter: telnet(rfc2217),tcp,127.0.0.1," + std::to_string(port),
          "  connector: serialdev," + ttyPath + ",9600n81,local", "  options:", "    mdns: false"};
}

}  // namespace

std::string Ser2netProcess::Find() {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(std::string(path ? path : "") + ":/usr/sbin:/usr/local/sbin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const std::string candidate = dir + "/ser2net";
    if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

Ser2netProcess::Ser2netProcess(const std::string& program, const std::string& ttyPath) {
  for (int attempt = 0; attempt < kStartAttempts && !listening_; ++attempt) {
    port_ = FreeLoopbackPort();
    listening_ = port_ != 0 && Start(program, ttyPath, port_);
  }
}

Ser2netProcess::~Ser2netProcess() {
  Stop();
}

std::string Ser2netProcess::Path() const {
  return listening_ ? "rfc2217://127.0.0.1:" + std::to_string(port_) : std::string();
}

bool Ser2netProcess::Start(const std::string& program, const std::string& ttyPath, uint16_t port) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) {
    problem_ = "pipe failed";
    return false;
  }
  // -n: stay in the foreground; -u: no UUCP lock files.
  std::vector<std::string> args = {program, "-n", "-u"};
  for (const std::string& line : ConfigLines(ttyPath, port)) args.insert(args.end(), {"-Y", line});
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, out[1], 2);
  const int err = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  output_ = out[0];
  ::fcntl(output_, F_SETFL, O_NONBLOCK);
  if (err != 0) {
    pid_ = -1;
    problem_ = program + " could not be started";
    Stop();
    return false;
  }
  if (AwaitListening(kListenTimeoutMs)) return true;
  Stop();
  return false;
}

bool Ser2netProcess::AwaitListening(int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      problem_ = "ser2net exited: " + TakeOutput();
      return false;
    }
    if (Listening(port_)) return true;
    std::this_thread::sleep_for(kPollStep);
  }
  problem_ = "ser2net did not listen on port " + std::to_string(port_) + ": " + TakeOutput();
  return false;
}

std::string Ser2netProcess::TakeOutput() {
  std::string text;
  char buf[512];
  ssize_t n;
  while (output_ >= 0 && (n = ::read(output_, buf, sizeof buf)) > 0) text.append(buf, n);
  return text;
}

void Ser2netProcess::Stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kStopTimeoutMs);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() >= deadline) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(kPollStep);
    }
    pid_ = -1;
  }
  if (output_ >= 0) ::close(output_);
  output_ = -1;
}

}  // namespace zel::testing
