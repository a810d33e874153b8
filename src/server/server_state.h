// The server variables: one set per process, shared by every client and by
// the steps of a running exchange. `CurrentRecord` and `LastRecord` are the
// workspace's (RangeFields), shared with the window's own operations.
#pragma once

#include <string>

namespace zel {

struct ServerVariables {
  /// Code of the last member that sets one (server_codes.h).
  int ServerErrorCode = 0;
  /// Product table row that `AddTovar`, `GetNextTovar` and `GetNext` use next.
  int TableCursor = 1;
  /// Slot row that `GetNextBlockKL` reads next.
  int BlockKLCursor = 1;
  /// Tape goods row that `GetNextTovarKL` reads next.
  int TovarKLCursor = 1;
  /// Slot rows of the last complete `ReadBlockKL`.
  int SlotKLCountValue = 0;

  /// The current product record (`GetNextTovar`, `GetNext`, `GetNextTovarKL`).
  std::string Number, Name, Price, Section, Sh_Code, Uchet, TovGr, PrVes;
  /// The current control-tape slot (`GetNextBlockKL`).
  std::string KLNumber, KLDate, KLKolvo;

  /// Table row (block row for the ЖРМ 1.5 family) the next step fills or reads.
  int RowCounter = 0;
  /// Set when the running exchange has ended.
  bool StepStopFlag = false;
  /// The slot, its purchase count and the next purchase of a tape read.
  int KLSlot = 0;
  int KLRecordCount = 0;
  int KLRecordIndex = 0;
};

}  // namespace zel
