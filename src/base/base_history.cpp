#include "base/base_history.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <regex>
#include <set>
#include <system_error>

#include "base/atomic_file.h"
#include "base/base_record.h"
#include "base/channels.h"

namespace zel {
namespace fs = std::filesystem;
namespace {

// Larger files are not base files (12288 records are 946 KB).
constexpr std::uintmax_t kMaxBaseBytes = 64u * 1024 * 1024;

struct CopyName {
  int channel = 0;
  std::string stamp;
  std::string operation;
  int counter = 1;
};

bool ParseCopyName(const std::string& name, CopyName& out) {
  static const std::regex pattern(
      R"(Base([1-9][0-9]?)-([0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}-[0-9]{2}-[0-9]{2})-([a-z]+)(~([0-9]{1,4}))?\.bsd)");
  std::smatch m;
  if (!std::regex_match(name, m, pattern)) return false;
  out.channel = std::stoi(m[1]);
  out.stamp = m[2];
  out.operation = m[3];
  out.counter = m[5].matched ? std::stoi(m[5]) : 1;
  return out.channel <= kChannelCount;
}

// The temporary file of a copy whose store was cut (a killed process):
// "<copy name>.XXXXXX". It is nobody's copy.
bool InterruptedCopy(const std::string& name) {
  static const std::regex pattern(R"(Base[1-9][0-9]?-.*\.bsd\.[A-Za-z0-9]{6})");
  return std::regex_match(name, pattern);
}

std::string Stamp(std::time_t t, const char* format) {
  std::tm tm{};
  localtime_r(&t, &tm);
  char text[32];
  return std::string(text, std::strftime(text, sizeof text, format, &tm));
}

bool ReadWhole(const fs::path& path, std::string& bytes, std::string& error) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  std::size_t got = 0;
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
    error = IoFailure("Ошибка чтения файла", path);
    return false;
  }
  if (!S_ISREG(st.st_mode) || static_cast<std::uintmax_t>(st.st_size) > kMaxBaseBytes) {
    error = "Файл " + path.string() + " не является файлом базы";
    return false;
  }
  bytes.resize(static_cast<std::size_t>(st.st_size));
  if (!PReadAll(fd.get(), reinterpret_cast<uint8_t*>(bytes.data()), bytes.size(), 0, got)) {
    error = IoFailure("Ошибка чтения файла", path);
    return false;
  }
  bytes.resize(got);
  return true;
}

bool WriteWhole(const fs::path& path, const std::string& bytes, std::string& error) {
  return ReplaceFileAtomically(
      path, ModeOr(path, 0644),
      [&bytes](int fd) {
        return PWriteAll(fd, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 0);
      },
      error);
}

// Why `bytes` cannot be a base file; empty when they can.
std::string BaseFileProblem(const std::string& bytes) {
  if (bytes.empty()) return "пустой файл";
  if (bytes.size() % kBaseRecordBytes != 0) return "размер не кратен 77 байтам";
  constexpr BaseField fields[] = {kBaseName,       kBasePrice,   kBaseSection, kBaseBarcode,
                                  kBaseAccounting, kBaseColumn6, kBaseColumn7};
  for (std::size_t r = 0; r < bytes.size(); r += kBaseRecordBytes) {
    for (const BaseField& f : fields) {
      if (static_cast<uint8_t>(bytes[r + f.offset]) > f.width) {
        return "повреждена запись " + std::to_string(r / kBaseRecordBytes + 1);
      }
    }
  }
  return {};
}

// Copies of one second are told apart by when they were written.
bool NewerFirst(const BaseCopy& a, const BaseCopy& b) {
  return a.stamp != b.stamp ? a.stamp > b.stamp : a.written > b.written;
}

std::vector<BaseRecordBytes> Records(const std::string& bytes, std::size_t count) {
  std::vector<BaseRecordBytes> out(count, EncodeBaseRecord(NewFileRecord()));
  for (std::size_t i = 0; i < count && (i + 1) * kBaseRecordBytes <= bytes.size(); ++i) {
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(i * kBaseRecordBytes), kBaseRecordBytes,
                out[i].begin());
  }
  return out;
}

std::size_t RecordCount(const std::string& a, const std::string& b) {
  return (std::max(a.size(), b.size()) + kBaseRecordBytes - 1) / kBaseRecordBytes;
}

}  // namespace

std::string BaseCopy::ShownTime() const {
  if (stamp.size() != 19) return {};
  return stamp.substr(8, 2) + "." + stamp.substr(5, 2) + "." + stamp.substr(0, 4) + " " +
         stamp.substr(11, 2) + ":" + stamp.substr(14, 2) + ":" + stamp.substr(17, 2);
}

int ChannelOfBaseFile(std::string_view fileName) {
  for (int n = 1; n <= kChannelCount; ++n) {
    if (BaseFileName(n) == fileName) return n;
  }
  return 0;
}

fs::path HistoryDir(const BaseFolder& folder) {
  return folder.Dir() / kHistoryFolderName;
}

bool KeepBaseCopy(const BaseFolder& folder, std::string_view fileName, std::string_view operation,
                  std::time_t now, std::string& error) {
  const int channel = ChannelOfBaseFile(fileName);
  const fs::path base = folder.PathOf(fileName);
  std::error_code ec;
  // Only a regular file holds records that could be lost.
  if (channel == 0 || !fs::is_regular_file(base, ec)) return true;
  std::string bytes;
  if (!ReadWhole(base, bytes, error)) return false;
  const fs::path dir = HistoryDir(folder);
  fs::create_directories(dir, ec);
  const std::string stem = "Base" + std::to_string(channel) + "-" +
                           Stamp(now, "%Y-%m-%dT%H-%M-%S") + "-" + std::string(operation);
  fs::path path = dir / (stem + ".bsd");
  for (int n = 2; fs::exists(fs::symlink_status(path, ec)); ++n) {
    path = dir / (stem + "~" + std::to_string(n) + ".bsd");
  }
  if (!WriteWhole(path, bytes, error)) {
    error = "Не удалось сохранить копию базы перед изменением: " + error;
    return false;
  }
  PruneBaseCopies(folder, channel, now);
  return true;
}

std::vector<BaseCopy> ListBaseCopies(const BaseFolder& folder, int channel, bool foreign,
                                     bool checked) {
  std::vector<BaseCopy> copies;
  std::error_code ec;
  for (fs::directory_iterator it(HistoryDir(folder), ec), end; !ec && it != end; it.increment(ec)) {
    BaseCopy c;
    c.path = it->path();
    std::error_code timeError;  // the loop's own code must not be overwritten
    c.written = it->last_write_time(timeError);
    CopyName name;
    if (InterruptedCopy(c.path.filename().string())) continue;
    const bool ours = ParseCopyName(c.path.filename().string(), name);
    if (ours && name.channel != channel) continue;
    if (!ours && !foreign) continue;
    std::string bytes, error;
    if (ours) {
      c.channel = name.channel;
      c.stamp = name.stamp;
      c.operation = name.operation;
      if (checked) c.problem = ReadWhole(c.path, bytes, error) ? BaseFileProblem(bytes) : error;
      c.size = bytes.size();
    } else {
      c.problem = "не копия базы";
    }
    copies.push_back(std::move(c));
  }
  std::sort(copies.begin(), copies.end(), NewerFirst);
  return copies;
}

void PruneBaseCopies(const BaseFolder& folder, int channel, std::time_t now) {
  // What a killed process left; an hour old, so no store still running is touched.
  const auto stale = fs::file_time_type::clock::now() - std::chrono::hours(1);
  const std::string prefix = "Base" + std::to_string(channel) + "-";
  std::error_code ec;
  for (fs::directory_iterator it(HistoryDir(folder), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::error_code timeError;
    if (InterruptedCopy(name) && name.starts_with(prefix) &&
        it->last_write_time(timeError) < stale && !timeError) {
      fs::remove(it->path(), timeError);
    }
  }
  // By name only: rotation must stay cheap however many copies there are.
  std::vector<BaseCopy> copies = ListBaseCopies(folder, channel, false, false);
  std::set<std::string> days;
  for (int d = 0; d < kKeptDays; ++d) days.insert(Stamp(now - d * 24 * 3600, "%Y-%m-%d"));
  std::set<std::string> firstOfDay;  // days whose oldest copy is already kept
  // Oldest first, so the first copy of each day is met first.
  for (auto it = copies.rbegin(); it != copies.rend(); ++it) {
    const std::string day = it->stamp.substr(0, 10);
    const auto newest = static_cast<std::size_t>(copies.rend() - it - 1);
    const bool keep = newest < static_cast<std::size_t>(kKeptNewest) ||
                      (days.count(day) && firstOfDay.insert(day).second);
    std::error_code ec;
    if (!keep) fs::remove(it->path, ec);
  }
}

BaseCopy FindBaseCopy(const BaseFolder& folder, int channel, std::string_view name) {
  const std::string wanted = fs::path(name).filename().string();
  for (BaseCopy& c : ListBaseCopies(folder, channel)) {
    if (c.path.filename() == wanted) return c;
  }
  return {};
}

bool RestoreBaseFile(const BaseFolder& folder, const BaseCopy& copy, std::string_view fileName,
                     std::time_t now, std::string& error) {
  std::string bytes;
  if (!copy.Usable() || copy.channel != ChannelOfBaseFile(fileName)) {
    error = "Копия " + copy.path.filename().string() +
            " не может быть восстановлена: " + (copy.Usable() ? "копия другой базы" : copy.problem);
    return false;
  }
  if (!ReadWhole(copy.path, bytes, error)) return false;
  if (const std::string problem = BaseFileProblem(bytes); !problem.empty()) {
    error = "Копия " + copy.path.filename().string() + " не может быть восстановлена: " + problem;
    return false;
  }
  // Read before the copy of the current file is kept: rotation may remove the chosen one.
  const fs::path base = folder.PathOf(fileName);
  return CheckWritable(base, error) && KeepBaseCopy(folder, fileName, kCopyRestore, now, error) &&
         WriteWhole(base, bytes, error);
}

std::vector<ProductChange> DiffBaseFiles(const fs::path& before, const fs::path& after,
                                         std::string& error) {
  std::string a, b;
  if (!ReadWhole(before, a, error) || !ReadWhole(after, b, error)) return {};
  const std::size_t count = RecordCount(a, b);
  const std::vector<BaseRecordBytes> ra = Records(a, count), rb = Records(b, count);
  std::vector<ProductChange> changes;
  for (std::size_t i = 0; i < count; ++i) {
    if (ra[i] == rb[i]) continue;
    const ProductRecord x = DecodeBaseRecord(ra[i]), y = DecodeBaseRecord(rb[i]);
    const int number = static_cast<int>(i) + 1;
    auto field = [&](const char* name, const std::string& p, const std::string& q) {
      if (p != q) changes.push_back({number, name, p, q});
    };
    field("Наименование", x.name, y.name);
    field("Стоимость", x.price, y.price);
    field("Отдел", x.section, y.section);
    field("Штрих-код", x.barcode, y.barcode);
    field("Учет", x.accounting, y.accounting);
    field("Столбец 6", x.column6, y.column6);
    field("Столбец 7", x.column7, y.column7);
  }
  return changes;
}

int CountChangedProducts(const fs::path& a, const fs::path& b) {
  std::string x, y, error;
  if (!ReadWhole(a, x, error) || !ReadWhole(b, y, error)) return -1;
  const std::size_t count = RecordCount(x, y);
  const std::vector<BaseRecordBytes> rx = Records(x, count), ry = Records(y, count);
  int changed = 0;
  for (std::size_t i = 0; i < count; ++i) changed += rx[i] != ry[i];
  return changed;
}

}  // namespace zel
