// Building blocks of the exchange text files: cp1251 fields, fixed-width
// columns and the decimal comma of the CSV forms. Widths count cp1251
// characters, i.e. bytes after encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zel {

/// Line end of every exchange text file.
inline constexpr std::string_view kCrLf = "\r\n";

/// Appends `utf8` in cp1251 unchanged.
void AppendText(std::string& out, std::string_view utf8);

/// Appends `utf8` in cp1251, cut to `width` characters and left-aligned,
/// padded with blanks to `width`.
void AppendColumn(std::string& out, std::string_view utf8, std::size_t width);

/// Appends `utf8` in cp1251 with every "." written as ",".
void AppendWithComma(std::string& out, std::string_view utf8);

/// Appends a quotation mark, `utf8` in cp1251 and a quotation mark; marks
/// inside the text are not doubled.
void AppendQuoted(std::string& out, std::string_view utf8);

}  // namespace zel
