#include "sim/control_tapes.h"

#include <span>

#include "sim/addressed_request.h"

namespace zel::sim {

bool ControlTapes::AddPurchase(bool isReturn, uint16_t record, uint32_t quantityThousandths) {
  if (closed_.size() >= blocks_) return false;
  current_.push_back({isReturn, static_cast<uint16_t>(record & 0x7FFF), quantityThousandths});
  return true;
}

bool ControlTapes::CloseCurrent(uint16_t number, int day, int month, int year) {
  if (closed_.size() >= blocks_) return false;
  Closed block{number, {}, std::move(current_)};
  const int parts[3] = {day, month, year};
  for (std::size_t i = 0; i < 3; ++i)
    PackBcd(static_cast<uint64_t>(parts[i]), std::span(block.date).subspan(i, 1));
  closed_.push_back(std::move(block));
  current_.clear();
  return true;
}

void ControlTapes::Clear() {
  closed_.clear();
  current_.clear();
}

const std::vector<TapeEntry>* ControlTapes::Entries(std::size_t k) const {
  if (k >= 1 && k <= closed_.size()) return &closed_[k - 1].entries;
  if (k == closed_.size() + 1 && closed_.size() < blocks_) return &current_;
  return nullptr;
}

std::array<uint8_t, 7> ControlTapes::BlockInfo(std::size_t k) const {
  std::array<uint8_t, 7> d = {0xFF, 0xFF, 0, 0, 0, 0, 0};
  const std::vector<TapeEntry>* entries = Entries(k);
  if (entries == nullptr) return d;
  if (k <= closed_.size()) {
    const Closed& c = closed_[k - 1];
    d = {static_cast<uint8_t>(c.number & 0xFF), static_cast<uint8_t>(c.number >> 8), c.date[0],
         c.date[1], c.date[2]};
  } else {
    d[1] = 0x00;
  }
  d[5] = static_cast<uint8_t>(entries->size() & 0xFF);
  d[6] = static_cast<uint8_t>(entries->size() >> 8);
  return d;
}

bool ControlTapes::Purchase(std::size_t k, std::size_t j, std::array<uint8_t, 5>& out) const {
  const std::vector<TapeEntry>* entries = Entries(k);
  if (entries == nullptr || j < 1 || j > entries->size()) return false;
  const TapeEntry& e = (*entries)[j - 1];
  const uint16_t entry = static_cast<uint16_t>(e.record | (e.isReturn ? 0x8000 : 0));
  out[0] = static_cast<uint8_t>(entry >> 8);
  out[1] = static_cast<uint8_t>(entry & 0xFF);
  PackBcd(e.quantityThousandths, std::span(out).subspan(2, 3));
  return true;
}

}  // namespace zel::sim
