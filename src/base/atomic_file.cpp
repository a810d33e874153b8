#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zel {

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
  std::string name = path.string() + ".XXXXXX";
  Fd fd(::mkstemp(name.data()));
  if (fd.get() < 0) {
    error = IoFailure("Ошибка записи файла", path);
    return false;
  }
  const bool ok = body(fd.get()) && ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0 &&
                  fd.Close() && ::rename(name.c_str(), path.c_str()) == 0;
  if (!ok) {
    error = IoFailure("Ошибка записи файла", path);
    ::unlink(name.c_str());
    return false;
  }
  const std::filesystem::path dirPath = path.has_parent_path() ? path.parent_path() : ".";
  Fd dir(::open(dirPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
  return true;
}

mode_t ModeOr(const std::filesystem::path& path, mode_t fallback) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : fallback;
}

}  // namespace zel
