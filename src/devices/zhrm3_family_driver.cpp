#include "devices/zhrm3_family_driver.h"

#include <array>

#include "devices/barcode_answer13.h"
#include "devices/control_tape.h"
#include "devices/zhrm3_commands.h"

namespace zel {
namespace {

constexpr int kBarcodeAnswerDelayMs = 20;

}  // namespace

bool Zhrm3FamilyDriver::ReadLastBarcode(LastBarcode& out) {
  if (!Zhrm3RequestLastBarcode(link_)) return false;
  link_.LinkDelay(kBarcodeAnswerDelayMs);
  std::array<uint8_t, kBarcodeAnswer13Bytes> answer{};
  if (link_.PortRead(answer) != answer.size()) return false;
  return DecodeBarcodeAnswer13(answer, out);
}

bool Zhrm3FamilyDriver::ReadTapeBlockInfo(uint8_t block, TapeBlockInfo& out) {
  if (block < 1 || block > tapeBlocks_) return false;
  if (!zel::ReadTapeBlockInfo(link_, block)) return false;
  out = DecodeTapeBlockInfo(std::span(link_.Buffers().tape).first<kTapeBlockInfoBytes>());
  return true;
}

bool Zhrm3FamilyDriver::ReadTapeRecord(uint16_t purchase, uint8_t block, TapePurchase& out) {
  if (block < 1 || block > tapeBlocks_ || purchase == 0) return false;
  if (!zel::ReadTapeRecord(link_, purchase, block)) return false;
  out = DecodeTapePurchase(std::span(link_.Buffers().tape).first<kTapePurchaseBytes>());
  return true;
}

bool Zhrm3FamilyDriver::ClearTapeBlocks() {
  return zel::ClearTapeBlocks(link_);
}

}  // namespace zel
