// Every decoder of bytes a device sends: records, accounting, barcode
// answers and control-tape entries of each family. The first byte chooses.
#include "devices/accounting_bcd.h"
#include "devices/barcode_answer13.h"
#include "devices/barcode_answer16.h"
#include "devices/control_tape.h"
#include "devices/field_codecs.h"
#include "devices/register_record.h"
#include "devices/zhrm15_record.h"
#include "devices/zhrm200_record.h"
#include "devices/zhrm20_record.h"
#include "devices/zhrm3_record.h"
#include "fuzz_input.h"

using namespace zel;

namespace {

template <std::size_t N, typename F>
void With(const uint8_t* d, std::size_t n, F decode) {
  std::span<const uint8_t, N> s(d, N);
  if (fuzz::Take<N>(d, n, s)) decode(s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const uint8_t which = data[0] % 12;
  const uint8_t* d = data + 1;
  const std::size_t n = size - 1;
  LastBarcode barcode;
  switch (which) {
    case 0:
      With<kZhrm15RecordBytes>(d, n, [](auto s) { DecodeZhrm15Record(s, Zhrm15Model::Plain); });
      break;
    case 1:
      With<kZhrm15RecordBytes>(d, n, [](auto s) { DecodeZhrm15Record(s, Zhrm15Model::Weighed); });
      break;
    case 2:
      With<kZhrm20RecordBytes>(d, n, [](auto s) { DecodeZhrm20Record(s); });
      break;
    case 3:
      With<kZhrm3RecordBytes>(d, n, [](auto s) { DecodeZhrm3Record(s); });
      break;
    case 4:
      With<kZhrm200RecordBytes>(d, n, [](auto s) { DecodeZhrm200Record(s); });
      break;
    case 5:
      With<kRegisterRecordBytes>(d, n, [](auto s) { DecodeRegisterRecord(s); });
      break;
    case 6:
      With<kAccountingBcdBytes>(d, n, [](auto s) { DecodeAccountingBcd(s); });
      break;
    case 7:
      With<kZhrm15AccountingBytes>(d, n, [](auto s) { DecodeZhrm15Accounting(s); });
      break;
    case 8:
      With<kZhrm20AccountingBytes>(d, n, [](auto s) { DecodeZhrm20Accounting(s); });
      break;
    case 9:
      With<kBarcodeAnswer13Bytes>(d, n, [&](auto s) { DecodeBarcodeAnswer13(s, barcode); });
      break;
    case 10:
      With<kBarcodeAnswer16Bytes>(d, n, [&](auto s) { DecodeBarcodeAnswer16(s, barcode); });
      break;
    default:
      With<kTapeBlockInfoBytes>(d, n, [](auto s) { DecodeTapeBlockInfo(s); });
      With<kTapePurchaseBytes>(d, n, [](auto s) { DecodeTapePurchase(s); });
  }
  return 0;
}
