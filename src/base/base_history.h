// Copies of base files kept before an operation replaces their records, in
// Base/history/, so that a read from a reset device, a wrong import or a
// clear can be undone. Names say channel, time and operation:
//   Base3-2026-12-09T14-05-11-read.bsd   (a second one in the same second: ...-read~2.bsd)
// Per channel the newest kKeptNewest copies and the first copy of each of
// the last kKeptDays days stay; older ones are removed. Files whose names
// are not ours are listed as unusable and never removed or restored.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/base_file.h"

namespace zel {

inline constexpr int kKeptNewest = 30;
inline constexpr int kKeptDays = 7;
inline constexpr const char* kHistoryFolderName = "history";

/// The operations that keep a copy; the word goes into the copy's name.
inline constexpr const char* kCopyRead = "read";
inline constexpr const char* kCopyAccounting = "accounting";
inline constexpr const char* kCopyReset = "reset";
inline constexpr const char* kCopyClear = "clear";
inline constexpr const char* kCopyImport = "import";
inline constexpr const char* kCopyServer = "server";
inline constexpr const char* kCopyRestore = "restore";

struct BaseCopy {
  std::filesystem::path path;
  int channel = 0;          ///< 0 for a file whose name is not ours
  std::string stamp;        ///< "2026-12-09T14-05-11", sorts by time
  std::string operation;    ///< "read", "import" …
  std::uintmax_t size = 0;  ///< bytes
  std::string problem;      ///< why it cannot be restored; empty when usable
  std::filesystem::file_time_type written;

  bool Usable() const { return problem.empty(); }
  /// "09.12.2026 14:05:11"
  std::string ShownTime() const;
};

/// 1..16 for "Base1.bsd" .. "Base16.bsd", else 0.
int ChannelOfBaseFile(std::string_view fileName);

/// The folder of the copies of `folder`'s base files.
std::filesystem::path HistoryDir(const BaseFolder& folder);

/// Keeps `fileName` (BaseN.bsd) as it is now, with the crash-safe store,
/// then removes the copies of that channel that rotation no longer keeps.
/// A missing base file (or a folder in its place) has nothing to keep (true). False with `error`
/// when the copy could not be written; the base file is never touched.
bool KeepBaseCopy(const BaseFolder& folder, std::string_view fileName, std::string_view operation,
                  std::time_t now, std::string& error);

/// The copies of `channel`, newest first; with `foreign`, also the files of
/// the folder that are not copies of any channel (unusable). `checked` reads
/// each copy to tell a damaged one; without it only the names count.
std::vector<BaseCopy> ListBaseCopies(const BaseFolder& folder, int channel, bool foreign = true,
                                     bool checked = true);

/// Removes the copies of `channel` that are neither among the newest
/// kKeptNewest nor the first of one of the last kKeptDays days before `now`.
void PruneBaseCopies(const BaseFolder& folder, int channel, std::time_t now);

/// The copy of `channel` whose file name is `name` (a path counts by its
/// file name); an empty path when there is none.
BaseCopy FindBaseCopy(const BaseFolder& folder, int channel, std::string_view name);

/// Keeps the current `fileName` as a "restore" copy, then puts `copy` in its
/// place in one step. A damaged copy is refused and nothing changes.
bool RestoreBaseFile(const BaseFolder& folder, const BaseCopy& copy, std::string_view fileName,
                     std::time_t now, std::string& error);

/// One field of one product that differs between two base files.
struct ProductChange {
  int number = 0;  ///< product number (record + 1)
  std::string field;
  std::string before;
  std::string after;
};

/// The fields that differ, record by record; a record one file lacks
/// counts as a new-file record.
std::vector<ProductChange> DiffBaseFiles(const std::filesystem::path& before,
                                         const std::filesystem::path& after, std::string& error);

/// How many products differ (byte for byte) between two base files; -1 when one cannot be read.
int CountChangedProducts(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace zel
