// The control tape of a virtual ЖРМ 3 family terminal: closed tapes with
// their number and closing date, then the block being filled now. Each
// block holds purchases (sales or returns of a product record).
//
// Block information reply data, 7 bytes:
//   number lo, number hi (FF FF: no such block, FF 00: the current block),
//   day, month, year (packed BCD), purchases lo, purchases hi
// Purchase reply data, 5 bytes:
//   entry hi, entry lo (bit 15 return, bits 0..14 record), quantity as
//   six packed-BCD digits (three decimals)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zel::sim {

struct TapeEntry {
  bool isReturn = false;
  uint16_t record = 0;               ///< product record number (product - 1)
  uint32_t quantityThousandths = 0;  ///< up to 999.999
};

class ControlTapes {
 public:
  explicit ControlTapes(std::size_t blocks) : blocks_(blocks) {}

  std::size_t BlockCount() const { return blocks_; }
  std::size_t ClosedCount() const { return closed_.size(); }
  /// Adds a purchase to the current block; false when every block is closed.
  bool AddPurchase(bool isReturn, uint16_t record, uint32_t quantityThousandths);
  /// Closes the current block as tape `number` on day.month.year (two
  /// digits each); false when every block is closed already.
  bool CloseCurrent(uint16_t number, int day, int month, int year);
  /// Erases every block; the first block becomes the current one.
  void Clear();

  /// Information of block k (from 1).
  std::array<uint8_t, 7> BlockInfo(std::size_t k) const;
  /// Purchase j (from 1) of block k (from 1); false when there is none.
  bool Purchase(std::size_t k, std::size_t j, std::array<uint8_t, 5>& out) const;

 private:
  struct Closed {
    uint16_t number;
    std::array<uint8_t, 3> date;
    std::vector<TapeEntry> entries;
  };

  const std::vector<TapeEntry>* Entries(std::size_t k) const;

  std::size_t blocks_;
  std::vector<Closed> closed_;
  std::vector<TapeEntry> current_;
};

}  // namespace zel::sim
