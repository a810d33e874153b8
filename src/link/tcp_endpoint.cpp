#include "link/tcp_endpoint.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "link/clock.h"

namespace zel {
namespace {

constexpr char kScheme[] = "rfc2217://";

bool ParsePortNumber(const std::string& text, uint16_t* port) {
  if (text.empty() || text.size() > 5) return false;
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  if (value == 0 || value > 65535) return false;
  *port = static_cast<uint16_t>(value);
  return true;
}

// Connects one socket; 0 or the error.
int ConnectOne(int fd, const addrinfo& a, int64_t deadlineUs, SteadyClock& clock) {
  int err = ::connect(fd, a.ai_addr, a.ai_addrlen) == 0 ? 0 : errno;
  if (err != EINPROGRESS) return err;
  pollfd p{fd, POLLOUT, 0};
  const int64_t us = std::max<int64_t>(0, deadlineUs - clock.NowUs());
  const timespec ts{static_cast<time_t>(us / 1'000'000), static_cast<long>(us % 1'000'000) * 1000};
  socklen_t len = sizeof err;
  if (::ppoll(&p, 1, &ts, nullptr) <= 0) return ETIMEDOUT;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) return errno;
  return err;
}

}  // namespace

// The scheme, like any URL scheme, in any letter case.
bool IsRfc2217Path(const std::string& path) {
  const std::size_t n = sizeof kScheme - 1;
  if (path.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(path[i])) != kScheme[i]) return false;
  return true;
}

bool ParseRfc2217Path(const std::string& path, Rfc2217Address* out) {
  if (!IsRfc2217Path(path)) return false;
  const std::string rest = path.substr(sizeof kScheme - 1);
  std::string host;
  std::string port;
  if (!rest.empty() && rest[0] == '[') {
    const std::size_t close = rest.find(']');
    if (close == std::string::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
      return false;
    host = rest.substr(1, close - 1);
    port = rest.substr(close + 2);
  } else {
    const std::size_t colon = rest.rfind(':');
    if (colon == std::string::npos) return false;
    host = rest.substr(0, colon);
    port = rest.substr(colon + 1);
    if (host.find(':') != std::string::npos) return false;
  }
  if (host.empty() || host.find_first_of(" /\t") != std::string::npos) return false;
  if (!ParsePortNumber(port, &out->port)) return false;
  out->host = host;
  return true;
}

int ConnectTcp(const Rfc2217Address& address, int timeoutMs, std::string* error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(address.port);
  if (const int rc = ::getaddrinfo(address.host.c_str(), service.c_str(), &hints, &found)) {
    *error = ::gai_strerror(rc);
    return -1;
  }
  SteadyClock clock;
  const int64_t deadline = clock.NowUs() + int64_t{timeoutMs} * 1000;
  int fd = -1;
  int err = ETIMEDOUT;
  for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
    fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
      err = errno;
      continue;
    }
    err = ConnectOne(fd, *a, deadline, clock);
    if (err == 0) break;
    ::close(fd);
    fd = -1;
  }
  ::freeaddrinfo(found);
  if (fd < 0) {
    *error = std::strerror(err);
    return -1;
  }
  // Every exchange is a few bytes each way; Nagle would hold them back.
  const int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &one, sizeof one);
  return fd;
}

}  // namespace zel
