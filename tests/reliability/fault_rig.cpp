#include "fault_rig.h"

#include <stdlib.h>

#include <filesystem>

#include "base/base_ops.h"
#include "sim/register_device.h"
#include "sim/zhrm15_device.h"
#include "sim/zhrm20_device.h"
#include "sim/zhrm3_device.h"
#include "support/varied_products.h"

namespace zel::testing {
namespace {

// The suites create thousands of workspaces; on tmpfs their flushes cost
// nothing. A TMPDIR of the caller's wins.
const bool kTmpfsChosen = [] {
  if (std::filesystem::is_directory("/dev/shm")) ::setenv("TMPDIR", "/dev/shm", 0);
  return true;
}();

template <typename D>
Subject Wrap(std::shared_ptr<D> d) {
  Subject s;
  s.device = d;
  s.faults = &d->Faults();
  s.record = [d](std::size_t n) { return HexText(d->Record(n)); };
  s.accounting = [d](std::size_t n) { return d->Accounting(n); };
  s.setAccounting = [d](std::size_t n, uint32_t v) { d->SetAccounting(n, v); };
  s.setBarcode = [d](const std::string& code) { d->SetLastBarcode(code); };
  s.locked = [d] {
    if constexpr (requires { d->RegisterLocked(); })
      return d->RegisterLocked();
    else
      return false;
  };
  if constexpr (requires { d->Tapes(); }) {
    s.addTapes = [d] {
      auto& t = d->Tapes();
      t.AddPurchase(false, 0, 1500);
      t.AddPurchase(true, 1, 700);
      t.AddPurchase(false, 2, 4025);
      t.CloseCurrent(17, 5, 12, 0);
      t.AddPurchase(true, 2, 250);
      t.CloseCurrent(18, 6, 12, 0);
      t.AddPurchase(false, 1, 3000);
    };
  }
  return s;
}

}  // namespace

const std::vector<std::string>& AllTypes() {
  static const std::vector<std::string> types = {"ЖРМ 1.5", "ЖРМ 1.5в", "ЖРМ 2.0",   "ЖРМ 3",
                                                 "ЖРМ 3+",  "ЖРМ 200",  "ККМ ЗЕЛ-7Ф"};
  return types;
}

Subject MakeSubject(const std::string& type) {
  if (type == "ЖРМ 1.5" || type == "ЖРМ 1.5в")
    return Wrap(std::make_shared<Zhrm15Device>(0x0001, 0x0001));
  if (type == "ЖРМ 2.0") return Wrap(std::make_shared<Zhrm20Device>(0x0001));
  if (type == "ККМ ЗЕЛ-7Ф") return Wrap(std::make_shared<RegisterDevice>(0x01));
  const auto model = type == "ЖРМ 3"    ? Zhrm3FamilyModel::Zhrm3
                     : type == "ЖРМ 3+" ? Zhrm3FamilyModel::Zhrm3Plus
                                        : Zhrm3FamilyModel::Zhrm200;
  return Wrap(std::make_shared<Zhrm3Device>(model, 0x0001));
}

Rig::Rig(const std::string& type)
    : line_(std::make_shared<SimulatedLine>(clock_)),
      faulty_(std::make_shared<FaultyPort>(line_)),
      subject_(MakeSubject(type)) {
  port_ = std::make_unique<PortSetup>(
      link_, [this](const std::string&) -> std::shared_ptr<BytePort> { return faulty_; });
  ws_ = std::make_unique<Workspace>(dir_.path(), prompts_, progress_, warning_, link_, *port_);
  port_->OpenAtStartup();
  line_->Attach(subject_.device);
  ActivateFirstChannel(*ws_, type);
  prompts_.Clear();
}

void Rig::SetRange(int first, int last) {
  ws_->range.SetStartText(std::to_string(first));
  ws_->range.SetEndText(std::to_string(last));
  ConfirmRange(*ws_);  // as the operator does; the table then shows the range
  prompts_.Clear();
}

std::string Rig::BaseBytes() const {
  return ReadBytes(dir_.path() / "Base" / "Base1.bsd");
}

void Rig::FillRows(int n) {
  for (int row = 1; row <= n; ++row) ws_->table.SetRecord(row, VariedProduct(row));
}

std::vector<std::string> Rig::Messages() const {
  std::vector<std::string> out;
  for (const auto& s : prompts_.shown())
    if (s.kind != "yesno" && s.kind != "yesnocancel") out.push_back(s.text);
  return out;
}

}  // namespace zel::testing
