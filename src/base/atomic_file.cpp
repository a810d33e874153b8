#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zel {
namespace {

namespace fs = std::filesystem;
// As the kernel's own limit on links followed in one lookup.
constexpr int kMaxLinks = 40;

// The file a chain of symbolic links ends at (`path` itself when it is no
// link); false (errno set) on a loop or a link that cannot be read.
bool FollowLinks(const fs::path& path, fs::path& target) {
  target = path;
  for (int hops = 0; hops < kMaxLinks; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(target, ec))) return true;
    const fs::path next = fs::read_symlink(target, ec);
    if (ec) {
      errno = ec.value();
      return false;
    }
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  errno = ELOOP;
  return false;
}

}  // namespace

bool PWriteAll(int fd, const uint8_t* data, std::size_t size, off_t offset) {
  while (size > 0) {
    const ssize_t n = ::pwrite(fd, data, size, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
    offset += n;
  }
  return true;
}

bool PReadAll(int fd, uint8_t* data, std::size_t size, off_t offset, std::size_t& got) {
  got = 0;
  while (got < size) {
    const ssize_t n = ::pread(fd, data + got, size - got, offset + static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

std::string IoFailure(const char* what, const std::filesystem::path& path) {
  return std::string(what) + " " + path.string() + ": " + std::strerror(errno);
}

bool CheckWritable(const std::filesystem::path& path, std::string& error) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return true;  // absent: it will be created
  const bool marked = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
  if (marked && S_ISREG(st.st_mode) && ::access(path.c_str(), W_OK) == 0) return true;
  errno = S_ISREG(st.st_mode) ? EACCES : EISDIR;
  error = IoFailure("Ошибка записи файла", path);
  return false;
}

bool ReplaceFileAtomically(const std::filesystem::path& path, mode_t mode,
                           const std::function<bool(int fd)>& body, std::string& error) {
  // A link (to a shared folder, another disk) stays a link: the file it
  // points to is replaced, beside itself, so the rename stays atomic.
  fs::path target;
  if (!FollowLinks(path, target)) {
    error = IoFailure("Ошибка записи файла", path);
    return false;
  }
  std::string name = target.string() + ".XXXXXX";
  Fd fd(::mkstemp(name.data()));
  if (fd.get() < 0) {
    error = IoFailure("Ошибка записи файла", path);
    return false;
  }
  const bool ok = body(fd.get()) && ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0 &&
                  fd.Close() && ::rename(name.c_str(), target.c_str()) == 0;
  if (!ok) {
    error = IoFailure("Ошибка записи файла", path);
    ::unlink(name.c_str());
    return false;
  }
  const fs::path dirPath = target.has_parent_path() ? target.parent_path() : ".";
  Fd dir(::open(dirPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
  return true;
}

mode_t ModeOr(const std::filesystem::path& path, mode_t fallback) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : fallback;
}

}  // namespace zel
