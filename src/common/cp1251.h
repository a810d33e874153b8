// Windows-1251 <-> UTF-8. The core keeps text as UTF-8; device records, base
// files, settings and exchange files hold cp1251. This is the only place where
// the two meet.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zel {

/// Decodes cp1251 bytes into UTF-8. Every byte maps to one character.
std::string Cp1251ToUtf8(std::string_view cp1251);

/// Encodes UTF-8 into cp1251 bytes, one per character. A character that
/// cp1251 cannot hold, and every byte of malformed UTF-8, becomes '?'.
std::string Utf8ToCp1251(std::string_view utf8);

/// Length of a UTF-8 text in cp1251 characters (= bytes after encoding).
std::size_t Cp1251Length(std::string_view utf8);

/// The first `count` characters of a UTF-8 text, counted as in cp1251.
std::string LeftChars(std::string_view utf8, std::size_t count);

/// Upper case of cp1251 letters (Latin and Cyrillic, Ё included), UTF-8 in and out.
std::string UpperCase(std::string_view utf8);

}  // namespace zel
