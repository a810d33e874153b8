// A private-profile ("INI") file: "[section]" lines, "key=value" lines,
// cp1251 text with CR LF line ends on disk, UTF-8 in memory. Section and key
// names match without regard to letter case; a value is the text after the
// first "=" with surrounding blanks removed. Lines we do not understand and
// keys we do not know are kept as they were and written back unchanged.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

/// Larger files are not settings; they read as empty.
inline constexpr std::size_t kMaxIniBytes = 16 * 1024 * 1024;

class IniFile {
 public:
  /// Parses the bytes of a file (cp1251, any of CR LF, LF, CR line ends).
  /// A file an editor saved as UTF-8 (a BOM, or UTF-8 in the names) is read
  /// as UTF-8; it is written back in cp1251 like any other.
  static IniFile Parse(std::string_view bytes);
  /// The file read was UTF-8, not cp1251.
  bool ReadAsUtf8() const { return readAsUtf8_; }
  /// The file as written: cp1251, every line ended by CR LF.
  std::string Serialize() const;

  /// Reads `path`; false (and empty contents) when it does not exist or
  /// cannot be read.
  bool Load(const std::filesystem::path& path);
  /// Writes the file beside `path` and renames it over; the old file is
  /// untouched on failure. A file marked read-only is refused. False with
  /// `error` set when it could not be written.
  bool Save(const std::filesystem::path& path, std::string& error) const;

  /// The value of the first matching key of the first matching section.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  /// Text value, or `fallback` when the key is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  /// Decimal whole number (optional sign), or `fallback` when missing or malformed.
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  /// Whole number, non-zero meaning true; `fallback` when missing or malformed.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  /// Sets a value, adding the key (and section) at the end when missing.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

 private:
  struct Line {
    std::string text;  ///< the line as read, for lines without a key
    std::optional<std::string> key;
    std::string value;
  };
  struct Section {
    std::string name;     ///< empty for the lines before the first section
    bool headed = false;  ///< has a "[name]" line
    std::vector<Line> lines;
  };

  /// Index of the first section of that name; sections_.size() if none.
  std::size_t SectionIndex(std::string_view name) const;
  Section& SectionFor(std::string_view name);

  std::vector<Section> sections_;
  bool readAsUtf8_ = false;
};

/// Whole number of the INI rules: optional sign and decimal digits, no
/// overflow; nullopt otherwise.
std::optional<int> ParseIniInteger(std::string_view text);

}  // namespace zel
