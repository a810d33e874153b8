#include "operations/barcode_entry.h"

#include "base/active_device.h"
#include "base/device_types.h"
#include "operations/driver_factory.h"

namespace zel {
namespace {

// Characters 3..7 of the code with every "0" among them dropped.
std::string ZerosDroppedWeightCode(const std::string& code) {
  std::string out;
  for (std::size_t i = 2; i < 7 && i < code.size(); ++i) {
    if (code[i] != '0') out += code[i];
  }
  return out;
}

// Characters 1..7 followed by five "0".
std::string PaddedWeightCode(const std::string& code) {
  return code.substr(0, 7) + "00000";
}

LineFamily FamilyOf(const Workspace& ws) {
  const DeviceType* type = DeviceTypeTable::Find(ws.device.typeText);
  return type ? type->family : LineFamily::Zhrm3;
}

// One rule for finding and for storing: a weight code stored by "как
// весовой товар" is found again when the same barcode is scanned next.
std::string WeightCode(LineFamily family, const std::string& code) {
  return family == LineFamily::Zhrm15 || family == LineFamily::Zhrm3 ? ZerosDroppedWeightCode(code)
                                                                     : PaddedWeightCode(code);
}

// The 16-byte answer (ЖРМ 1.5 family and 2.0) proves a weight code only
// when it carries all twelve digits. A weight code left empty (characters
// 3..7 all "0") would match every row without a barcode, so there is none.
std::string WeightCodeOf(LineFamily family, const LastBarcode& b) {
  const bool sixteenBytes = family == LineFamily::Zhrm15 || family == LineFamily::Zhrm20;
  if (b.code.rfind("20", 0) != 0 || (sixteenBytes && !b.fullTwelve)) return {};
  return WeightCode(family, b.code);
}

}  // namespace

void BarcodeEntry::Request(Workspace& ws) {
  if (!Set_Zhrm(ws)) return;
  if (state != BarcodeEntryState::Polling) state = BarcodeEntryState::Requested;
}

bool BarcodeEntry::TakeShowRequest() {
  if (state != BarcodeEntryState::Requested) return false;
  state = BarcodeEntryState::Polling;
  return true;
}

BarcodePoll BarcodeEntry::Poll(Workspace& ws) {
  if (state != BarcodeEntryState::Polling) return BarcodePoll::NoAnswer;
  // The line is another exchange's; and while this poll waits, a client's
  // exchange must not start on it (it sees ExchangeState 1 and is refused).
  if (ws.run.exchangeState == ExchangeState::Busy) return BarcodePoll::NoAnswer;
  const auto driver = MakeDriver(ws.device.typeText, ws.link);
  LastBarcode barcode;
  ws.run.exchangeState = ExchangeState::Busy;
  const bool answered = driver && driver->ReadLastBarcode(barcode);
  ws.run.exchangeState = ExchangeState::Idle;
  if (!answered) return BarcodePoll::NoAnswer;
  return Show(ws, barcode) ? BarcodePoll::Shown : BarcodePoll::NoBarcode;
}

bool BarcodeEntry::Show(Workspace& ws, const LastBarcode& barcode) {
  if (barcode.code.empty()) return false;
  view.code = barcode.code;
  view.weightCode = WeightCodeOf(FamilyOf(ws), barcode);
  const std::string& weightCode = view.weightCode;
  const bool weight = !weightCode.empty();
  for (int row = 1; row < ws.table.RowCount(); ++row) {
    const std::string& cell = ws.table.Cell(row, kColBarcode);
    if (cell == barcode.code || (weight && cell == weightCode)) {
      view.pieceEnabled = view.weightEnabled = false;
      view.colour = BarcodeView::Colour::Found;
      view.result = "Номер товара - " + ws.table.Cell(row, kColNumber);
      return true;
    }
  }
  view.weightEnabled = weight;
  view.pieceEnabled = true;
  view.colour = BarcodeView::Colour::Missing;
  view.result = "Код в базе отсутствует.";
  return true;
}

void BarcodeEntry::StoreAsPiece(Workspace& ws, int selectedRow) {
  if (!view.pieceEnabled || view.code.empty()) return;
  ws.table.SetCell(selectedRow, kColBarcode, view.code);
}

void BarcodeEntry::StoreAsWeight(Workspace& ws) {
  if (!view.weightEnabled || view.weightCode.empty()) return;
  view.code = view.weightCode;
  ws.table.SetCell(ws.table.CurrentProductRow, kColBarcode, view.code);
}

}  // namespace zel
