#include "exchange/zel_base_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "base/device_types.h"

namespace zel {

bool ZelBaseCarriesGroup(std::string_view typeName) {
  return DeviceTypeTable::RulesFor(typeName).column6 == Column6Rule::ProductGroup;
}

std::string ExportZelBase(const ProductTable& table, int rowCount, std::string_view typeName) {
  const bool group = ZelBaseCarriesGroup(typeName);
  std::string out;
  out.reserve(static_cast<std::size_t>(rowCount > 0 ? rowCount : 0) * kZelBaseRecordBytes);
  for (int row = 1; row <= rowCount; ++row) {
    ProductRecord record = table.RecordAt(row);
    record.column6 = group ? table.Cell(row, kCol6) : std::string(kZelBaseDefaultGroup);
    record.column7.clear();
    const BaseRecordBytes bytes = EncodeBaseRecord(record);
    out.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  return out;
}

ProductRecord DecodeZelBaseRecord(std::span<const uint8_t, kZelBaseRecordBytes> bytes) {
  ProductRecord record = DecodeBaseRecord(bytes);
  record.column7.clear();
  return record;
}

bool ReadZelBaseFile(const std::filesystem::path& path, int maxRecords,
                     std::vector<ProductRecord>& out, std::string& error) {
  out.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "Не удалось открыть файл " + path.string() + ": " + std::strerror(errno);
    return false;
  }
  BaseRecordBytes bytes{};
  while (static_cast<int>(out.size()) < maxRecords) {
    in.read(reinterpret_cast<char*>(bytes.data()), bytes.size());
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) break;
    out.push_back(DecodeZelBaseRecord(bytes));
  }
  if (in.bad()) {
    error = "Ошибка чтения файла " + path.string();
    return false;
  }
  return true;
}

}  // namespace zel
