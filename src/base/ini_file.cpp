#include "base/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include "base/atomic_file.h"
#include "common/cp1251.h"

namespace zel {
namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// A value never spans lines: a line break in it would forge other keys.
std::string OneLine(std::string_view text) {
  std::string s(text);
  for (char& c : s) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  return UpperCase(a) == UpperCase(b);
}

// Splits on CR LF, LF or a lone CR.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool ValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80           ? 1
                          : (c >> 5) == 0x6  ? 2
                          : (c >> 4) == 0xE  ? 3
                          : (c >> 3) == 0x1E ? 4
                                             : 0;
    if (n == 0 || i + n > s.size() || (n == 2 && c < 0xC2)) return false;
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

// Names of the settings are Cyrillic, and cp1251 Cyrillic is never valid
// UTF-8, so a valid file whose names hold non-ASCII text was saved as UTF-8.
bool SavedAsUtf8(std::string_view bytes) {
  if (!ValidUtf8(bytes)) return false;
  for (std::string_view raw : SplitLines(bytes)) {
    const std::string_view line = Trim(raw);
    const std::size_t end = !line.empty() && line.front() == '[' ? line.find(']') : line.find('=');
    const std::string_view name = line.substr(0, end);
    if (std::any_of(name.begin(), name.end(), [](char c) { return c & 0x80; })) return true;
  }
  return false;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

std::optional<int> ParseIniInteger(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
  }
  value = negative ? -value : value;
  if (value > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(value);
}

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile ini;
  ini.sections_.push_back({});
  ini.readAsUtf8_ = bytes.starts_with(kUtf8Bom) || SavedAsUtf8(bytes);
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  const std::string text = ini.readAsUtf8_ ? std::string(bytes) : Cp1251ToUtf8(bytes);
  for (std::string_view raw : SplitLines(text)) {
    const std::string_view line = Trim(raw);
    if (!line.empty() && line.front() == '[') {
      const std::size_t close = line.find(']');
      const std::string_view name =
          line.substr(1, close == std::string_view::npos ? close : close - 1);
      ini.sections_.push_back({std::string(Trim(name)), true, {}});
      continue;
    }
    Line l{std::string(raw), std::nullopt, {}};
    const std::size_t eq = line.find('=');
    if (eq != std::string_view::npos) {
      l.key = std::string(Trim(line.substr(0, eq)));
      l.value = std::string(Trim(line.substr(eq + 1)));
    }
    ini.sections_.back().lines.push_back(std::move(l));
  }
  return ini;
}

std::string IniFile::Serialize() const {
  std::string out;
  for (const Section& s : sections_) {
    if (s.headed) out += "[" + s.name + "]\r\n";
    for (const Line& l : s.lines) out += (l.key ? *l.key + "=" + l.value : l.text) + "\r\n";
  }
  return Utf8ToCp1251(out);
}

bool IniFile::Load(const std::filesystem::path& path) {
  sections_.clear();
  readAsUtf8_ = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  std::string bytes;
  std::size_t got = 0;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
            static_cast<std::size_t>(st.st_size) <= kMaxIniBytes;
  if (ok) {
    bytes.resize(static_cast<std::size_t>(st.st_size));
    ok = PReadAll(fd, reinterpret_cast<uint8_t*>(bytes.data()), bytes.size(), 0, got);
  }
  ::close(fd);
  if (!ok) return false;
  bytes.resize(got);
  *this = Parse(bytes);
  return true;
}

bool IniFile::Save(const std::filesystem::path& path, std::string& error) const {
  if (!CheckWritable(path, error)) return false;
  const std::string bytes = Serialize();
  auto body = [&bytes](int fd) {
    return PWriteAll(fd, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 0);
  };
  return ReplaceFileAtomically(path, ModeOr(path, 0644), body, error);
}

std::size_t IniFile::SectionIndex(std::string_view name) const {
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    if (sections_[i].headed && SameName(sections_[i].name, name)) return i;
  }
  return sections_.size();
}

IniFile::Section& IniFile::SectionFor(std::string_view name) {
  const std::size_t i = SectionIndex(name);
  if (i < sections_.size()) return sections_[i];
  sections_.push_back({std::string(name), true, {}});
  return sections_.back();
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  const std::size_t i = SectionIndex(section);
  if (i == sections_.size()) return std::nullopt;
  for (const Line& l : sections_[i].lines) {
    if (l.key && SameName(*l.key, key)) return l.value;
  }
  return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  return Find(section, key).value_or(std::string(fallback));
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  const std::optional<std::string> text = Find(section, key);
  return text ? ParseIniInteger(*text).value_or(fallback) : fallback;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  Section& s = SectionFor(section);
  value = Trim(value);
  for (Line& l : s.lines) {
    if (l.key && SameName(*l.key, key)) {
      l.value = OneLine(value);
      return;
    }
  }
  // New keys go after the section's last key, before trailing blank lines.
  auto at = s.lines.end();
  while (at != s.lines.begin() && !std::prev(at)->key && Trim(std::prev(at)->text).empty()) --at;
  s.lines.insert(at, Line{{}, OneLine(key), OneLine(value)});
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

}  // namespace zel
