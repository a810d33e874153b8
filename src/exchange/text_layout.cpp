#include "exchange/text_layout.h"

#include <algorithm>

#include "common/cp1251.h"

namespace zel {

void AppendText(std::string& out, std::string_view utf8) {
  out += Utf8ToCp1251(utf8);
}

void AppendColumn(std::string& out, std::string_view utf8, std::size_t width) {
  const std::string bytes = Utf8ToCp1251(utf8);
  const std::size_t kept = std::min(bytes.size(), width);
  out.append(bytes, 0, kept);
  out.append(width - kept, ' ');
}

void AppendWithComma(std::string& out, std::string_view utf8) {
  std::string bytes = Utf8ToCp1251(utf8);
  std::replace(bytes.begin(), bytes.end(), '.', ',');
  out += bytes;
}

void AppendQuoted(std::string& out, std::string_view utf8) {
  out += '"';
  out += Utf8ToCp1251(utf8);
  out += '"';
}

}  // namespace zel
