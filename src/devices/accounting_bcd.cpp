#include "devices/accounting_bcd.h"

#include "devices/field_codecs.h"

namespace zel {

// A nibble above 9 (a damaged counter) weighs in at its value instead of
// stopping the read, as for the other families.
std::string DecodeAccountingBcd(std::span<const uint8_t, kAccountingBcdBytes> bytes) {
  uint64_t thousandths = 0;
  for (uint8_t b : bytes) {
    thousandths = thousandths * 10 + (b >> 4);
    thousandths = thousandths * 10 + (b & 0x0F);
  }
  return FormatThousandths(thousandths);
}

}  // namespace zel
