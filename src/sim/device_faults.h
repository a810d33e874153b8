// Fault switches of a virtual device, one line each in a test:
//   device->Faults().Silent();  device->Faults().TruncateReply(5);
// A device asks TakeRequest() once per complete request addressed to it and
// passes every echo, status byte, checksum and reply through the helpers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zel {

class DeviceFaults {
 public:
  /// Answers nothing at all: no echo, no acknowledgement, no reply.
  DeviceFaults& Silent(bool on = true) {
    silent_ = on;
    return *this;
  }
  /// Every echo (address byte, acknowledged checksum) comes back wrong.
  DeviceFaults& WrongEcho(bool on = true) {
    wrongEcho_ = on;
    return *this;
  }
  /// Every reply carries a checksum off by one.
  DeviceFaults& BadChecksum(bool on = true) {
    badChecksum_ = on;
    return *this;
  }
  /// Replies carry this status byte instead of 1 (0 = normal); checksums stay right.
  DeviceFaults& StatusByte(uint8_t status) {
    status_ = status;
    return *this;
  }
  /// Replies are cut to their first n bytes (negative = off).
  DeviceFaults& TruncateReply(int bytes) {
    truncate_ = bytes;
    return *this;
  }
  /// n bytes of 0x00 follow every reply.
  DeviceFaults& ExtraReplyBytes(int bytes) {
    extra_ = bytes;
    return *this;
  }
  /// Requests first..first+count-1 (counted from 1) are ignored: no
  /// acknowledgement, no reply.
  DeviceFaults& FailNthRequest(int first, int count = 1) {
    failFrom_ = first, failCount_ = count;
    return *this;
  }
  /// Every n-th byte the device sends has bit 0 flipped (0 = off).
  DeviceFaults& ByteNoise(int everyNth) {
    noiseEvery_ = everyNth;
    return *this;
  }
  /// Time from the end of a request to the first answer byte.
  DeviceFaults& TurnaroundUs(int64_t us) {
    turnaroundUs_ = us;
    return *this;
  }

  /// Extra time before the answer to a data block (storing it), on top of
  /// the turnaround.
  DeviceFaults& StoreDelayUs(int64_t us) {
    storeDelayUs_ = us;
    return *this;
  }

  // Used by the devices.

  bool IsSilent() const { return silent_; }
  int64_t Turnaround() const { return turnaroundUs_; }
  int64_t StoreDelay() const { return storeDelayUs_; }
  /// Counts one request; false when it is to be ignored.
  bool TakeRequest() {
    ++requests_;
    return !silent_ && !(requests_ >= failFrom_ && requests_ < failFrom_ + failCount_);
  }
  int Requests() const { return requests_; }
  uint8_t Echo(uint8_t byte) const { return wrongEcho_ ? static_cast<uint8_t>(byte ^ 0x01) : byte; }
  uint8_t Status(uint8_t normal) const { return status_ != 0 ? status_ : normal; }
  uint16_t Check(uint16_t check) const {
    return badChecksum_ ? static_cast<uint16_t>(check + 1) : check;
  }
  /// Truncation and extra bytes for a data reply.
  void ShapeReply(std::vector<uint8_t>& reply) const {
    if (truncate_ >= 0 && static_cast<std::size_t>(truncate_) < reply.size())
      reply.resize(truncate_);
    if (extra_ > 0) reply.insert(reply.end(), static_cast<std::size_t>(extra_), 0x00);
  }
  /// Noise on every byte that leaves the device.
  void AddNoise(std::vector<uint8_t>& bytes) {
    if (noiseEvery_ <= 0) return;
    for (uint8_t& b : bytes) {
      if (++bytesSent_ % noiseEvery_ == 0) b ^= 0x01;
    }
  }

 private:
  bool silent_ = false;
  bool wrongEcho_ = false;
  bool badChecksum_ = false;
  uint8_t status_ = 0;
  int truncate_ = -1;
  int extra_ = 0;
  int failFrom_ = 0;
  int failCount_ = 0;
  int noiseEvery_ = 0;
  int64_t turnaroundUs_ = 1000;
  int64_t storeDelayUs_ = 0;
  int requests_ = 0;
  int64_t bytesSent_ = 0;
};

}  // namespace zel
