// Replacing a file in one step: the new contents go to a temporary file in
// the file's folder (the one a symbolic link points into), which is flushed
// and renamed over it, so a failure never leaves a half-written file behind.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace zel {

/// A file descriptor closed on scope exit; Close() reports an explicit close.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

/// Writes all bytes at `offset`; false on a write error (errno set).
bool PWriteAll(int fd, const uint8_t* data, std::size_t size, off_t offset);

/// Reads up to `size` bytes at `offset`; `got` < size only at end of file.
bool PReadAll(int fd, uint8_t* data, std::size_t size, off_t offset, std::size_t& got);

/// "<what> <path>: <reason of errno>".
std::string IoFailure(const char* what, const std::filesystem::path& path);

/// False (and `error` set) when `path` exists and is marked read-only or
/// cannot be written. A read-only mark is honoured even for a privileged user.
bool CheckWritable(const std::filesystem::path& path, std::string& error);

/// Replaces `path` with what `body` writes to the descriptor it is given;
/// the file gets `mode`. A symbolic link is followed and the file it ends
/// at is replaced, the link kept. False (and `error` set) on failure, old
/// file kept.
bool ReplaceFileAtomically(const std::filesystem::path& path, mode_t mode,
                           const std::function<bool(int fd)>& body, std::string& error);

/// The permission bits of an existing file, else `fallback`.
mode_t ModeOr(const std::filesystem::path& path, mode_t fallback);

}  // namespace zel
