// A workspace whose port is a FaultyPort around the simulated line on the
// virtual clock, with one virtual device of the chosen type seen through a
// type-free Subject.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/active_device.h"
#include "base/workspace.h"
#include "faulty_port.h"
#include "sim/device_faults.h"
#include "sim/simulated_line.h"
#include "support/files.h"
#include "support/workspace_fakes.h"

namespace zel::testing {

/// The device on the line, whatever its family.
struct Subject {
  std::shared_ptr<LineDevice> device;
  DeviceFaults* faults = nullptr;
  std::function<std::string(std::size_t)> record;  ///< record n as hex
  std::function<uint32_t(std::size_t)> accounting;
  std::function<void(std::size_t, uint32_t)> setAccounting;
  std::function<void(const std::string&)> setBarcode;
  std::function<bool()> locked;    ///< register lock held (false when none)
  std::function<void()> addTapes;  ///< empty when the family keeps no tapes
};

/// A virtual device of `type` at ЖРМ 0001 / ККМ 01.
Subject MakeSubject(const std::string& type);

/// Every device type of the table.
const std::vector<std::string>& AllTypes();

class Rig {
 public:
  explicit Rig(const std::string& type);

  Workspace& Ws() { return *ws_; }
  FaultyPort& Port() { return *faulty_; }
  Subject& Device() { return subject_; }
  ScriptedPrompts& Prompts() { return prompts_; }
  SimulatedLine& Line() { return *line_; }
  const std::filesystem::path& Dir() const { return dir_.path(); }
  /// Types the range and confirms it, as the operator does.
  void SetRange(int first, int last);
  std::string BaseBytes() const;
  /// Fills table rows 1..n with varied products every type can hold.
  void FillRows(int n);
  /// Boxes other than the questions shown so far.
  std::vector<std::string> Messages() const;

 private:
  TempDir dir_;
  VirtualClock clock_;
  std::shared_ptr<SimulatedLine> line_;
  std::shared_ptr<FaultyPort> faulty_;
  ScriptedPrompts prompts_;
  RecordingProgress progress_;
  ScriptedWarning warning_;
  Link link_;
  std::unique_ptr<PortSetup> port_;
  std::unique_ptr<Workspace> ws_;
  Subject subject_;
};

}  // namespace zel::testing
