// Where an "rfc2217://HOST:PORT" path points, and a TCP connection to it.
#pragma once

#include <cstdint>
#include <string>

namespace zel {

struct Rfc2217Address {
  std::string host;  ///< name or address; an IPv6 address without brackets
  uint16_t port = 0;
};

/// True when `path` starts with "rfc2217://" (any letter case).
bool IsRfc2217Path(const std::string& path);
/// Splits "rfc2217://HOST:PORT" ("[::1]:PORT" for IPv6); false when malformed.
bool ParseRfc2217Path(const std::string& path, Rfc2217Address* out);

/// Connects within timeoutMs, trying every address the host has. Returns a
/// non-blocking socket with Nagle off, or -1 with `error` set to the reason.
int ConnectTcp(const Rfc2217Address& address, int timeoutMs, std::string* error);

}  // namespace zel
