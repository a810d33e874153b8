#include "exchange/file_dialogs.h"

#include <cstddef>
#include <utility>

namespace zel {
namespace {

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offset where the n-th character from the end starts; npos when the
// text is shorter.
std::size_t StartOfCharFromEnd(std::string_view text, std::size_t n) {
  std::size_t pos = text.size();
  for (std::size_t seen = 0; seen < n; ++seen) {
    if (pos == 0) return std::string_view::npos;
    --pos;
    while (pos > 0 && IsContinuationByte(text[pos])) --pos;
  }
  return pos;
}

}  // namespace

std::string FileDialogState::ExtOf(int index) const {
  if (index < 0 || index >= static_cast<int>(filters.size())) return {};
  return filters[static_cast<std::size_t>(index)].ext;
}

FileDialogState ExportDialog() {
  return {"Экспорт данных",
          {{"В формате Excel  *.CSV", "*.csv", "csv"},
           {"В текстовом формате  *.TXT", "*.txt", "txt"},
           {"В формате ZEL_Base *.ZLB", "*.zlb", "zlb"}},
          "Base1"};
}

FileDialogState ImportDialog() {
  return {
      "Импорт данных из файла",
      {{"Текстовый формат  *.txt  ", "*.txt", "txt"}, {"Формат ZEL_Base  *.zlb", "*.zlb", "zlb"}},
      ""};
}

FileDialogState TapeSaveDialog(std::string caption) {
  return {std::move(caption),
          {{"В формате MicroSoft Excel (csv)", "*.csv", "csv"},
           {"В текстовом формате (txt)", "*.txt", "txt"}},
          ""};
}

std::string CompleteFileName(std::string_view name, std::string_view ext) {
  const std::size_t fourth = StartOfCharFromEnd(name, 4);
  std::string out(name);
  if (fourth == std::string_view::npos || name[fourth] != '.') {
    out += '.';
    out += ext;
  } else if (name.substr(fourth + 1) != ext) {
    out.resize(fourth + 1);
    out += ext;
  }
  return out;
}

}  // namespace zel
