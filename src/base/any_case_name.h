// Names as a Windows folder resolves them: "BASE1.BSD" is "Base1.bsd". A
// shop's folder copied from Windows, a FAT stick or a share often arrives in
// capitals, and the program must go on with the files it holds.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zel {

/// The entry `name` of `dir`: the exact name when it exists, else the first
/// entry (in name order) equal to it without regard to ASCII letter case,
/// else dir / name (where a new file goes).
std::filesystem::path PathInAnyCase(const std::filesystem::path& dir, std::string_view name);

/// When `dir` holds two or more entries that differ from `name` only in
/// letter case, the text saying which one PathInAnyCase uses; empty otherwise.
std::string CaseClashNote(const std::filesystem::path& dir, std::string_view name);

}  // namespace zel
