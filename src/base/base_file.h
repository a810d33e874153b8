// The base files on disk: "Base1.bsd" .. "Base16.bsd" in the folder "Base"
// of the program folder, 77-byte records without a header (base_record.h).
// Files are opened and closed within each call; nothing is cached. A file
// shorter than a record being read yields new-file records, and no store
// ever shortens a file.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/product_record.h"

namespace zel {

/// Records in a file made by `CreateBase`.
inline constexpr int kBaseFileRecords = 12288;

inline constexpr const char* kBaseFolderName = "Base";

/// "Base" + channel + ".bsd" for channel 1..16.
std::string BaseFileName(int channel);

class BaseFolder {
 public:
  /// The folder "Base" under `programDir`, found in any letter case.
  explicit BaseFolder(const std::filesystem::path& programDir);

  /// Looked up at each call: a folder copied in while the program runs is found.
  std::filesystem::path Dir() const;
  /// The file in any letter case, an exact match first (any_case_name.h).
  std::filesystem::path PathOf(std::string_view fileName) const;
  bool Exists(std::string_view fileName) const;

  /// Creates the file anew with 12288 new-file records, replacing any old
  /// one and creating the folder when missing. False (and `error` set) when
  /// it cannot be written.
  bool CreateBase(std::string_view fileName, std::string& error);

  /// Reads `count` records from record `first` (product first + 1). A record
  /// the file does not hold in full reads as a new-file record; `held`, when
  /// given, gets the number of whole records in the file. False on an I/O
  /// failure, with `error` set.
  bool ReadRecords(std::string_view fileName, int first, int count, std::vector<ProductRecord>& out,
                   std::string& error, int64_t* held = nullptr) const;

  /// Replaces records first .. first + size - 1 in one step: a copy of the
  /// file with the range changed is written beside it, flushed and renamed
  /// over it. Bytes outside the range, and the bytes of a record that holds
  /// the same product, stay as they were; a gap before the range is filled
  /// with new-file records; a missing file is started anew.
  bool StoreRange(std::string_view fileName, int first, std::span<const ProductRecord> records,
                  std::string& error);

  /// Writes record `index` in place (unless it holds the same product); a
  /// gap before it is filled with new-file records. The file must exist.
  bool StoreRecord(std::string_view fileName, int index, const ProductRecord& record,
                   std::string& error);

 private:
  std::filesystem::path programDir_;
};

}  // namespace zel
