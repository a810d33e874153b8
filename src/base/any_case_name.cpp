#include "base/any_case_name.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace zel {
namespace fs = std::filesystem;
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
         });
}

// The names in `dir` equal to `name` without regard to case, sorted; empty
// when the folder cannot be listed.
std::vector<std::string> CaseTwins(const fs::path& dir, std::string_view name) {
  std::vector<std::string> found;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (SameIgnoringCase(entry, name)) found.push_back(std::move(entry));
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

fs::path PathInAnyCase(const fs::path& dir, std::string_view name) {
  const fs::path exact = dir / name;
  std::error_code ec;
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  const std::vector<std::string> twins = CaseTwins(dir, name);
  return twins.empty() ? exact : dir / twins.front();
}

std::string CaseClashNote(const fs::path& dir, std::string_view name) {
  const std::vector<std::string> twins = CaseTwins(dir, name);
  if (twins.size() < 2) return {};
  const std::string used = PathInAnyCase(dir, name).filename().string();
  std::string names;
  for (const std::string& t : twins) names += (names.empty() ? "" : ", ") + t;
  return "В папке " + dir.string() + " есть файлы " + names +
         ", имена которых различаются только регистром букв; используется " + used + ".";
}

}  // namespace zel
