// The barcode entry window's logic ("Ввод штриховых кодов"): polling the
// active device for the last scanned barcode, finding it in the product
// table, and storing it into a row as a piece-goods or weight-goods code.
#pragma once

#include <string>

#include "base/workspace.h"
#include "devices/device_driver.h"

namespace zel {

/// `BarcodeEntryState`: the window closed, requested, or open and polling.
enum class BarcodeEntryState { Closed = 0, Requested = 1, Polling = 2 };

/// What one poll of the device came to.
enum class BarcodePoll {
  NoAnswer,   ///< no valid answer (silence, a wrong check value)
  NoBarcode,  ///< a valid answer that carries no barcode: nothing scanned yet
  Shown,      ///< a barcode, looked up and shown
};

/// What the window shows.
struct BarcodeView {
  enum class Colour { None, Found, Missing };  ///< Label3: none, yellow, red
  std::string code;                            ///< Label1
  std::string weightCode;                      ///< the code's weight code; empty: none
  std::string result;                          ///< Label3
  Colour colour = Colour::None;
  bool pieceEnabled = true;    ///< "как штучный товар"
  bool weightEnabled = false;  ///< "как весовой товар"
};

class BarcodeEntry {
 public:
  BarcodeEntryState state = BarcodeEntryState::Closed;
  BarcodeView view;

  /// Toolbar "Ввод штрих-кода": checks the channel, then asks for the window.
  void Request(Workspace& ws);
  /// Timer tick: true when the window is to be shown now.
  bool TakeShowRequest();
  /// One poll of the active device. Only Shown changes the view; after
  /// NoAnswer the caller waits a little longer before the next poll.
  BarcodePoll Poll(Workspace& ws);
  /// "как штучный товар": the code into column 4 of the selected row, while
  /// the button is enabled.
  void StoreAsPiece(Workspace& ws, int selectedRow);
  /// "как весовой товар": the weight code into column 4 of `CurrentProductRow`,
  /// while the button is enabled; it also becomes the code shown.
  void StoreAsWeight(Workspace& ws);
  /// "Завершить ввод ш.кодов".
  void Finish() { state = BarcodeEntryState::Closed; }

  /// Shows `barcode` and looks it up as the answer processing does; false
  /// (view unchanged) when it carries no barcode.
  bool Show(Workspace& ws, const LastBarcode& barcode);
};

}  // namespace zel
