#include "devices/barcode_answer13.h"

#include <algorithm>
#include <string>

#include "link/frames.h"

namespace zel {

bool DecodeBarcodeAnswer13(std::span<const uint8_t, kBarcodeAnswer13Bytes> answer,
                           LastBarcode& out) {
  const auto chars = answer.first<kBarcodeAnswer13CheckOffset>();
  if (answer[kBarcodeAnswer13CheckOffset] != Checksum8(chars)) return false;
  const bool digits =
      std::all_of(chars.begin(), chars.end(), [](uint8_t c) { return c >= '0' && c <= '9'; });
  const bool blank = std::all_of(chars.begin(), chars.end(), [](uint8_t c) { return c == 0; });
  if (!digits && !blank) return false;
  const auto first = std::find_if(chars.begin(), chars.end(), [](uint8_t c) { return c != '0'; });
  out.code = digits ? std::string(first, chars.end()) : std::string();
  out.fullTwelve = out.code.size() == chars.size();
  return true;
}

}  // namespace zel
