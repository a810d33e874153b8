// Rigs of the ЖРМ 3 family and cash-register tests: a line whose port
// records how the master grouped its bytes into writes, and a scripted
// device whose echo, acknowledgement and reply timing a test sets byte by
// byte.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "support/line_rig.h"

namespace zel::testing {

/// Forwards to the simulated line and records the size of every write.
class WriteSpyPort final : public BytePort {
 public:
  explicit WriteSpyPort(std::shared_ptr<SimulatedLine> line) : line_(std::move(line)) {}

  std::vector<std::size_t> writes;

  bool IsOpen() const override { return line_->IsOpen(); }
  Clock& GetClock() override { return line_->GetClock(); }
  bool Apply(const LineSettings& s, bool drain) override { return line_->Apply(s, drain); }
  LineSettings Current() override { return line_->Current(); }
  void SetDtr(bool raised) override { line_->SetDtr(raised); }
  void Purge() override { line_->Purge(); }
  std::size_t BytesWaiting() override { return line_->BytesWaiting(); }
  bool WaitForBytes(std::size_t count, int64_t deadlineUs) override {
    return line_->WaitForBytes(count, deadlineUs);
  }
  std::size_t Read(uint8_t* dst, std::size_t maxBytes) override {
    return line_->Read(dst, maxBytes);
  }
  std::size_t Write(const uint8_t* src, std::size_t n, int timeoutMs) override {
    writes.push_back(n);
    return line_->Write(src, n, timeoutMs);
  }
  void WaitUntilSent() override { line_->WaitUntilSent(); }
  void SetInputQueueBytes(std::size_t bytes) override { line_->SetInputQueueBytes(bytes); }

 private:
  std::shared_ptr<SimulatedLine> line_;
};

/// The line behind a port that records how the master grouped its writes.
class AddressedLine : public LineRig {
 public:
  explicit AddressedLine(uint32_t baud = 9600) : LineRig(baud) { link.SetPort(spy); }

  void ClearSent() {
    line->ClearSent();
    spy->writes.clear();
  }

  std::shared_ptr<WriteSpyPort> spy = std::make_shared<WriteSpyPort>(line);
};

/// A device that answers one address with a scripted echo, acknowledges a
/// complete body with its last byte (or a scripted one) and then sends a
/// scripted reply, each after its own delay.
class ScriptedDevice final : public LineDevice {
 public:
  explicit ScriptedDevice(uint8_t address) : echo(address), address_(address) {}

  uint8_t echo;
  int64_t echoDelayUs = 1000;
  bool answerBody = true;
  int64_t ackDelayUs = 1000;
  Bytes reply;
  int64_t replyDelayUs = 0;  ///< after the acknowledgement
  int addressBytesSeen = 0;

  void Receive(uint8_t byte, Parity parity, uint32_t, int64_t atUs, SimulatedLine& line) override {
    if (parity == Parity::Mark) {
      selected_ = byte == address_;
      body_.clear();
      if (!selected_) return;
      ++addressBytesSeen;
      const Bytes e = {echo};
      line.SendToMaster(e, atUs + echoDelayUs);
      return;
    }
    if (!selected_) return;
    body_.push_back(byte);
    if (body_.size() != static_cast<std::size_t>(body_[0]) + 2) return;
    selected_ = false;
    if (!answerBody) return;
    const Bytes ack = {body_.back()};
    line.SendToMaster(ack, atUs + ackDelayUs);
    if (!reply.empty()) line.SendToMaster(reply, atUs + ackDelayUs + replyDelayUs);
  }

 private:
  uint8_t address_;
  bool selected_ = false;
  Bytes body_;
};

}  // namespace zel::testing
