// Runs a piece of a test as an ordinary user even when the suite runs as root,
// so permission checks that root would pass through still bind.
#pragma once

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>

namespace zel::testing {

/// The user and group a root test drops to (nobody / nogroup).
inline constexpr uid_t kUnprivilegedId = 65534;

/// Runs `body` in a child process that first gives up root, when it has it,
/// for kUnprivilegedId; returns the text `body` returned, or nothing when the
/// child could not drop its privileges or did not end normally.
inline std::optional<std::string> RunUnprivileged(const std::function<std::string()>& body) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return std::nullopt;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipeEnds[0]);
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 ||
                             ::setresgid(kUnprivilegedId, kUnprivilegedId, kUnprivilegedId) != 0 ||
                             ::setresuid(kUnprivilegedId, kUnprivilegedId, kUnprivilegedId) != 0))
      ::_exit(2);
    if (::geteuid() == 0) ::_exit(2);
    const std::string out = body();
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = ::write(pipeEnds[1], out.data() + done, out.size() - done);
      if (n <= 0) ::_exit(3);
      done += static_cast<std::size_t>(n);
    }
    ::_exit(0);
  }
  ::close(pipeEnds[1]);
  std::string out;
  if (pid > 0) {
    char buf[4096];
    ssize_t n;
    while ((n = ::read(pipeEnds[0], buf, sizeof buf)) > 0)
      out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(pipeEnds[0]);
  int status = 0;
  if (pid <= 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0)
    return std::nullopt;
  return out;
}

}  // namespace zel::testing
