#include "cli/text_columns.h"

#include <algorithm>

#include "common/cp1251.h"

namespace zel::cli {

std::vector<std::string> AlignColumns(const std::vector<TextRow>& rows) {
  std::vector<std::size_t> widths;
  for (const TextRow& row : rows) {
    if (row.size() > widths.size()) widths.resize(row.size(), 0);
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], Cp1251Length(row[c]));
    }
  }
  std::vector<std::string> lines;
  for (const TextRow& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      line += row[c];
      if (c + 1 == row.size()) break;
      line.append(widths[c] - Cp1251Length(row[c]) + 2, ' ');
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string Heading(const std::string& cell) {
  return !cell.empty() && cell[0] == ' ' ? cell.substr(1) : cell;
}

void PrintRows(Console& console, const std::vector<TextRow>& rows) {
  for (const std::string& line : AlignColumns(rows)) console.Out(line);
}

}  // namespace zel::cli
