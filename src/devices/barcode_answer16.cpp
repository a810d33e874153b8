#include "devices/barcode_answer16.h"

#include <algorithm>
#include <string>

#include "link/frames.h"

namespace zel {

bool DecodeBarcodeAnswer16(std::span<const uint8_t, kBarcodeAnswer16Bytes> answer,
                           LastBarcode& out) {
  const uint16_t check = Checksum16(answer.first(kBarcodeAnswer16CheckOffset));
  if (answer[14] != (check & 0xFF) || answer[15] != (check >> 8)) return false;
  const uint8_t start = answer[kBarcodeAnswer16IndexOffset];
  const auto chars = answer.first(12).subspan(std::min<std::size_t>(start, 12));
  const bool digits =
      std::all_of(chars.begin(), chars.end(), [](uint8_t c) { return c >= '0' && c <= '9'; });
  const bool blank = std::all_of(chars.begin(), chars.end(), [](uint8_t c) { return c == 0; });
  if (!digits && !blank) return false;
  out.code = digits ? std::string(chars.begin(), chars.end()) : std::string();
  out.fullTwelve = start == 0 && digits;
  return true;
}

}  // namespace zel
