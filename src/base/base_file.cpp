#include "base/base_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "base/any_case_name.h"
#include "base/atomic_file.h"
#include "base/base_record.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
constexpr off_t kRecord = static_cast<off_t>(kBaseRecordBytes);
// Far beyond any range; keeps a corrupt call from allocating without bound.
constexpr int kMaxRecordIndex = 1 << 20;

// Writes records [from, to) of a new file at `pos`, advancing it; in
// batches, since a whole new file is 12288 records.
bool PutNewRecords(int fd, off_t& pos, int64_t from, int64_t to) {
  constexpr int64_t kBatch = 1024;
  static const std::vector<uint8_t> kBatchBytes = [] {
    const BaseRecordBytes one = EncodeBaseRecord(NewFileRecord());
    std::vector<uint8_t> bytes;
    for (int64_t i = 0; i < kBatch; ++i) bytes.insert(bytes.end(), one.begin(), one.end());
    return bytes;
  }();
  while (from < to) {
    const int64_t n = std::min(kBatch, to - from);
    const std::size_t size = static_cast<std::size_t>(n) * kBaseRecordBytes;
    if (!PWriteAll(fd, kBatchBytes.data(), size, pos)) return false;
    pos += static_cast<off_t>(size);
    from += n;
  }
  return true;
}

// Copies bytes [from, to) of `in` to `pos` of `out`, advancing `pos`.
bool CopyBytes(int in, off_t from, off_t to, int out, off_t& pos) {
  std::array<uint8_t, 65536> buf;
  while (from < to) {
    const std::size_t want = static_cast<std::size_t>(std::min<off_t>(to - from, buf.size()));
    std::size_t got = 0;
    if (!PReadAll(in, buf.data(), want, from, got)) return false;
    if (got != want) {
      errno = EIO;  // the file shrank under us
      return false;
    }
    if (!PWriteAll(out, buf.data(), got, pos)) return false;
    from += static_cast<off_t>(got);
    pos += static_cast<off_t>(got);
  }
  return true;
}

// Writes `records` at `pos` (record `first` of the file). A record whose
// old bytes decode to the same product keeps those bytes, so what another
// program left in the unused ends of its fields survives a store.
bool PutRecords(int in, off_t oldSize, int64_t first, std::span<const ProductRecord> records,
                int out, off_t& pos) {
  std::vector<uint8_t> old;
  if (in >= 0 && first * kRecord < oldSize) {
    old.resize(static_cast<std::size_t>(
        std::min<off_t>(oldSize - first * kRecord, static_cast<off_t>(records.size()) * kRecord)));
    std::size_t got = 0;
    if (!PReadAll(in, old.data(), old.size(), first * kRecord, got)) return false;
    old.resize(got);
  }
  // In chunks, not one system call per record (12288 for a full base).
  constexpr std::size_t kChunkRecords = 1024;
  std::vector<uint8_t> chunk;
  chunk.reserve(std::min(records.size(), kChunkRecords) * kBaseRecordBytes);
  const auto flush = [&] {
    if (!PWriteAll(out, chunk.data(), chunk.size(), pos)) return false;
    pos += static_cast<off_t>(chunk.size());
    chunk.clear();
    return true;
  };
  for (std::size_t i = 0; i < records.size(); ++i) {
    BaseRecordBytes b = EncodeBaseRecord(records[i]);
    if ((i + 1) * kBaseRecordBytes <= old.size()) {
      const std::span<const uint8_t, kBaseRecordBytes> kept(old.data() + i * kBaseRecordBytes,
                                                            kBaseRecordBytes);
      if (DecodeBaseRecord(kept) == records[i]) std::copy(kept.begin(), kept.end(), b.begin());
    }
    chunk.insert(chunk.end(), b.begin(), b.end());
    if (chunk.size() >= kChunkRecords * kBaseRecordBytes && !flush()) return false;
  }
  return chunk.empty() || flush();
}

bool BadIndex(int64_t first, int64_t count) {
  return first < 0 || count < 0 || first > kMaxRecordIndex || count > kMaxRecordIndex;
}

}  // namespace

std::string BaseFileName(int channel) {
  return "Base" + std::to_string(channel) + ".bsd";
}

BaseFolder::BaseFolder(const fs::path& programDir) : programDir_(programDir) {}

fs::path BaseFolder::Dir() const {
  return PathInAnyCase(programDir_, kBaseFolderName);
}

fs::path BaseFolder::PathOf(std::string_view fileName) const {
  return PathInAnyCase(Dir(), fileName);
}

bool BaseFolder::Exists(std::string_view fileName) const {
  std::error_code ec;
  return fs::is_regular_file(PathOf(fileName), ec);
}

bool BaseFolder::CreateBase(std::string_view fileName, std::string& error) {
  const fs::path path = PathOf(fileName);
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  if (!CheckWritable(path, error)) return false;
  auto body = [](int fd) {
    off_t pos = 0;
    return PutNewRecords(fd, pos, 0, kBaseFileRecords);
  };
  return ReplaceFileAtomically(path, ModeOr(path, 0644), body, error);
}

bool BaseFolder::ReadRecords(std::string_view fileName, int first, int count,
                             std::vector<ProductRecord>& out, std::string& error,
                             int64_t* held) const {
  const fs::path path = PathOf(fileName);
  out.clear();
  errno = EINVAL;
  Fd fd(BadIndex(first, count) ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  std::vector<uint8_t> bytes(fd.get() < 0 ? 0 : static_cast<std::size_t>(count) * kBaseRecordBytes);
  std::size_t got = 0;
  struct stat st {};
  if (fd.get() < 0 || !PReadAll(fd.get(), bytes.data(), bytes.size(), first * kRecord, got) ||
      (held && ::fstat(fd.get(), &st) != 0)) {
    error = IoFailure("Ошибка чтения файла", path);
    return false;
  }
  if (held) *held = st.st_size / kRecord;
  out.reserve(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
    // A record the file does not hold in full reads as a new one.
    if ((i + 1) * kBaseRecordBytes > got) {
      out.push_back(NewFileRecord());
    } else {
      out.push_back(DecodeBaseRecord(std::span<const uint8_t, kBaseRecordBytes>(
          bytes.data() + i * kBaseRecordBytes, kBaseRecordBytes)));
    }
  }
  return true;
}

bool BaseFolder::StoreRange(std::string_view fileName, int first,
                            std::span<const ProductRecord> records, std::string& error) {
  const fs::path path = PathOf(fileName);
  if (BadIndex(first, static_cast<int64_t>(records.size()))) {
    errno = EINVAL;
    error = IoFailure("Ошибка записи файла", path);
    return false;
  }
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  if (!CheckWritable(path, error)) return false;
  Fd old(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  // Only a file that is really absent is started anew; one we cannot read
  // must not be replaced.
  if ((old.get() < 0 && errno != ENOENT) || (old.get() >= 0 && ::fstat(old.get(), &st) != 0)) {
    error = IoFailure("Ошибка чтения файла", path);
    return false;
  }
  const off_t oldSize = old.get() >= 0 ? st.st_size : 0;
  const int64_t end = first + static_cast<int64_t>(records.size());
  auto body = [&](int out) {
    off_t pos = 0;
    const int64_t kept = std::min<int64_t>(first, oldSize / kRecord);
    if (!CopyBytes(old.get(), 0, kept * kRecord, out, pos)) return false;
    if (!PutNewRecords(out, pos, kept, first)) return false;
    if (!PutRecords(old.get(), oldSize, first, records, out, pos)) return false;
    return oldSize <= end * kRecord || CopyBytes(old.get(), end * kRecord, oldSize, out, pos);
  };
  return ReplaceFileAtomically(path, ModeOr(path, 0644), body, error);
}

bool BaseFolder::StoreRecord(std::string_view fileName, int index, const ProductRecord& record,
                             std::string& error) {
  const fs::path path = PathOf(fileName);
  if (!CheckWritable(path, error)) return false;
  errno = EINVAL;
  Fd fd(BadIndex(index, 1) ? -1 : ::open(path.c_str(), O_RDWR | O_CLOEXEC));
  struct stat st {};
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
    error = IoFailure("Ошибка записи файла", path);
    return false;
  }
  const int64_t held = st.st_size / kRecord;
  if (index < held) {
    // The same product keeps its bytes (see PutRecords).
    BaseRecordBytes old{};
    std::size_t got = 0;
    if (PReadAll(fd.get(), old.data(), old.size(), index * kRecord, got) && got == old.size() &&
        DecodeBaseRecord(old) == record) {
      return true;
    }
  }
  off_t pos = held * kRecord;  // a partial last record is overwritten
  const BaseRecordBytes b = EncodeBaseRecord(record);
  if (!PutNewRecords(fd.get(), pos, held, index) ||
      !PWriteAll(fd.get(), b.data(), b.size(), index * kRecord) || !fd.Close()) {
    error = IoFailure("Ошибка записи файла", path);
    return false;
  }
  return true;
}

}  // namespace zel
