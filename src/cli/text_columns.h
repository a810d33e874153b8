// Plain-text tables for stdout: columns left-aligned and two blanks apart,
// widths counted in characters (not UTF-8 bytes), the last column unpadded.
#pragma once

#include <string>
#include <vector>

#include "cli/console.h"

namespace zel::cli {

using TextRow = std::vector<std::string>;

/// The lines of `rows` (the first is the heading), columns aligned.
std::vector<std::string> AlignColumns(const std::vector<TextRow>& rows);

/// The aligned lines of `rows` on stdout.
void PrintRows(Console& console, const std::vector<TextRow>& rows);

/// A heading cell of the window's tables without its leading blank.
std::string Heading(const std::string& cell);

}  // namespace zel::cli
