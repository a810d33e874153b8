// `TServer`, the object behind `IServer`: the 35 members over the window's
// own state. Short members complete inside the call; the four range
// exchanges and the tape read only start a worker and return 1, and the
// client polls `BaseStatus`. Expected refusals return 0 and leave a code
// for `GetBaseError`; unexpected failures throw ServerFailure and leave the
// code as it was.
#pragma once

#include <optional>
#include <string>

#include "base/device_types.h"
#include "server/server_context.h"
#include "server/server_value.h"

namespace zel {

class TServer {
 public:
  TServer(Workspace& ws, TapeTables& tapes, ServerView& view, Settings& settings);

  /// `ServerErrorCode`, the outcome of the last member that sets one.
  int GetBaseError() const { return ctx_.vars.ServerErrorCode; }
  /// `ExchangeState`: 1 while an exchange (the server's or the window's) runs, 2 idle.
  int BaseStatus() const { return static_cast<int>(ctx_.ws.run.exchangeState); }
  /// Slot rows found by the last complete `ReadBlockKL`.
  int SlotKLCount() const { return ctx_.vars.SlotKLCountValue; }

  /// Range Par1..Par2 into the range fields, confirmed as the window does.
  int SetRange(int par1, int par2);
  /// Makes channel Base (1..16) the active one.
  int SelectBase(const ServerValue& base);
  /// Writes the settings file.
  int SavePos();
  /// Shows (Par not 0) or hides the main window.
  void Visible(int par);

  /// Starts writing the range from the table into the device; 1 when started.
  int WriteBase();
  /// Starts reading the range from the device into the table and base file.
  int ReadBase();
  /// Starts reading the range's accounting into column 5.
  int ReadUchet();
  /// Starts resetting the range's accounting in the device.
  int ClearUchet();
  /// Starts reading the purchases of slot SlotNumber of the last slot list.
  int ReadKL(const ServerValue& slotNumber);

  /// Stores one product in the row at the cursor and in the base file.
  int AddTovar(const ServerValue& name, const ServerValue& price, const ServerValue& section,
               const ServerValue& shCode);
  /// The table cursor back to row 1, whatever Par holds.
  int SetTop(int par);
  /// The row at the cursor into the current record; the cursor moves on.
  int GetNextTovar();
  /// As GetNextTovar, but only rows whose accounting is above zero.
  int GetNext();
  /// Empties the range in the table and the base file.
  int ClearTable();
  /// The weighed flag (0, 1) of product Num on a "ЖРМ 1.5в" channel.
  int SetPrVes(int num, int prVes);
  /// The goods group (0..100) of product Num on a "ККМ ЗЕЛ-7Ф" channel.
  int SetTovGr(int num, int tovGr);

  /// Reads the list of control-tape slots, inside the call.
  int ReadBlockKL();
  /// The slot row at its cursor into `KLNumber`, `KLDate`, `KLKolvo`.
  int GetNextBlockKL();
  /// The slot cursor back to row 1.
  int SetTopBlockKL();
  /// The tape goods row at its cursor into `Number`, `Name`, `Price`, `Uchet`.
  int GetNextTovarKL();
  /// The tape goods cursor back to row 1.
  int SetTopTovarKL();

  /// The current record and slot, as the properties of the same names give them.
  std::string Number() const { return ctx_.vars.Number; }
  std::string Name() const { return ctx_.vars.Name; }
  std::string Price() const { return ctx_.vars.Price; }
  std::string Section() const { return ctx_.vars.Section; }
  std::string Sh_Code() const { return ctx_.vars.Sh_Code; }
  std::string Uchet() const { return ctx_.vars.Uchet; }
  std::string TovGr() const { return ctx_.vars.TovGr; }
  std::string PrVes() const { return ctx_.vars.PrVes; }
  std::string KLNumber() const { return ctx_.vars.KLNumber; }
  std::string KLDate() const { return ctx_.vars.KLDate; }
  std::string KLKolvo() const { return ctx_.vars.KLKolvo; }

  /// The shared state, for the host and for tests.
  ServerContext& Context() { return ctx_; }
  const ServerVariables& Variables() const { return ctx_.vars; }

 private:
  struct FieldRange {
    int start;
    int end;
    int Rows() const { return end - start + 1; }
  };

  // Shared checks; each refusing one sets the code and returns true.
  bool RefusedBusy();
  bool RefusedType(bool accepted);
  bool RefusedChannel();
  int Refuse(int code);
  int Succeed();
  /// The range fields as numbers; nullopt when they hold no usable range.
  std::optional<FieldRange> Range() const;
  /// `Range`, made the range the table shows (loaded from the base file
  /// when it shows another, as the window's operations do); nullopt after
  /// refusing. Throws when the load fails.
  std::optional<FieldRange> ShownRange();
  /// True, after refusing with code 12, when a load since `shortLoadsBefore`
  /// found the base file shorter than its range (what it holds is loaded).
  bool RefusedShortLoad(int shortLoadsBefore);
  const std::string& Type() const { return ctx_.ws.device.typeText; }
  /// The active type when the server's exchanges serve it; null otherwise.
  const DeviceType* ServedType() const;
  bool IsTapeType() const;
  int StartRangeExchange(int which);
  /// Keeps the active base file before a member changes it; throws ServerFailure
  /// (nothing changed) when the copy cannot be written.
  void KeepServerCopy(const char* operation);
  /// Column 6 of product `num` on a type whose column 6 follows `rule`.
  int SetColumn6(Column6Rule rule, int num, int value, int maxValue, int valueCode);
  void LoadRow(int row);

  ServerContext ctx_;
};

}  // namespace zel
