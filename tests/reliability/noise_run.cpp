#include "noise_run.h"

#include <cstdio>
#include <vector>

#include "fault_rig.h"
#include "operations/operations.h"

namespace zel::testing {
namespace {

std::vector<std::string> DeviceRecords(Rig& rig, int records) {
  std::vector<std::string> out;
  for (int n = 0; n < records; ++n) out.push_back(rig.Device().record(n));
  return out;
}

std::vector<std::string> Rows(Rig& rig, int records) {
  std::vector<std::string> out;
  for (int row = 1; row <= records; ++row) {
    std::string text;
    for (int col = kColName; col <= kCol7; ++col) text += rig.Ws().table.Cell(row, col) + "|";
    out.push_back(text);
  }
  return out;
}

int NeitherOldNorNew(const std::vector<std::string>& got, const std::vector<std::string>& old,
                     const std::vector<std::string>& now) {
  int wrong = 0;
  for (std::size_t i = 0; i < got.size(); ++i) wrong += got[i] != old[i] && got[i] != now[i];
  return wrong;
}

// What a clean write leaves in the device and a clean read in the table.
void CleanRoundTrip(const std::string& type, int records, std::vector<std::string>& device,
                    std::vector<std::string>& rows) {
  Rig rig(type);
  rig.SetRange(1, records);
  rig.FillRows(records);
  rig.Prompts().Answer(Answer::Yes);
  WriteActiveBase(rig.Ws());
  device = DeviceRecords(rig, records);
  rig.Prompts().Answer(Answer::No);
  ReadActiveBase(rig.Ws());
  rows = Rows(rig, records);
}

}  // namespace

NoiseFigures RunNoisyRoundTrip(const std::string& type, int records, double bitErrorRate,
                               uint32_t seed) {
  std::vector<std::string> cleanDevice, cleanRows;
  CleanRoundTrip(type, records, cleanDevice, cleanRows);
  NoiseFigures f;
  f.records = records;
  Rig rig(type);
  const auto oldDevice = DeviceRecords(rig, records);
  rig.SetRange(1, records);
  rig.FillRows(records);
  rig.Port().SetBitErrorRate(bitErrorRate, seed);
  rig.Prompts().Answer(Answer::Yes);
  WriteActiveBase(rig.Ws());
  f.writeReported = !rig.Messages().empty();
  const int writeWrong = NeitherOldNorNew(DeviceRecords(rig, records), oldDevice, cleanDevice);
  (f.writeReported ? f.writeWrongReported : f.writeWrong) = writeWrong;

  const auto oldRows = Rows(rig, records);
  rig.Prompts().Clear();
  rig.Prompts().Answer(Answer::No);
  ReadActiveBase(rig.Ws());
  f.readReported = !rig.Messages().empty();
  const auto deviceNow = DeviceRecords(rig, records);
  int readWrong = 0;
  const auto rows = Rows(rig, records);
  for (int i = 0; i < records; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    // Judged only where the device holds what a clean write left.
    if (deviceNow[k] == cleanDevice[k])
      readWrong += rows[k] != oldRows[k] && rows[k] != cleanRows[k];
  }
  (f.readReported ? f.readWrongReported : f.readWrong) = readWrong;
  f.bitsFlipped = rig.Port().BitsFlipped();
  f.settled = rig.Ws().run.exchangeState == ExchangeState::Idle &&
              rig.Ws().controls.toolbarEnabled && rig.Ws().controls.menusEnabled;
  return f;
}

std::string FormatNoiseFigures(const std::string& type, double rate, const NoiseFigures& f) {
  char line[256];
  std::snprintf(line, sizeof line, "%-14s %7.0e %6d %8zu  write %-8s %4d/%-4d  read %-8s %4d/%-4d",
                type.c_str(), rate, f.records, f.bitsFlipped,
                f.writeReported ? "reported" : "complete", f.writeWrong, f.writeWrongReported,
                f.readReported ? "reported" : "complete", f.readWrong, f.readWrongReported);
  return line;
}

}  // namespace zel::testing
