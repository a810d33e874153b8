// Records of a base file and of a ZEL_Base export file, as read from disk.
#include "base/base_record.h"
#include "exchange/zel_base_file.h"
#include "fuzz_input.h"

using namespace zel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::span<const uint8_t, kBaseRecordBytes> base(data, kBaseRecordBytes);
  if (fuzz::Take<kBaseRecordBytes>(data, size, base)) DecodeBaseRecord(base);
  std::span<const uint8_t, kZelBaseRecordBytes> zel(data, kZelBaseRecordBytes);
  if (fuzz::Take<kZelBaseRecordBytes>(data, size, zel)) DecodeZelBaseRecord(zel);
  return 0;
}
