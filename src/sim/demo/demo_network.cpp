#include "sim/demo/demo_network.h"

#include <random>

#include "devices/register_record.h"
#include "devices/zhrm15_record.h"
#include "devices/zhrm200_record.h"
#include "devices/zhrm20_record.h"
#include "devices/zhrm3_record.h"
#include "sim/demo/demo_products.h"
#include "sim/register_device.h"
#include "sim/zhrm15_device.h"
#include "sim/zhrm20_device.h"
#include "sim/zhrm3_device.h"

namespace zel {
namespace {

constexpr int kProductsPerDevice = 300;
constexpr int64_t kBarcodeChangeUs = 4'000'000;

// Hears only its own speed, and changes its last scanned barcode every few
// seconds to one of its products, as a busy till would.
template <typename Device>
class DemoDevice final : public LineDevice {
 public:
  DemoDevice(std::shared_ptr<Device> device, uint32_t baud, std::vector<std::string> codes)
      : device_(std::move(device)), baud_(baud), codes_(std::move(codes)) {}

  void Receive(uint8_t byte, Parity parity, uint32_t baud, int64_t atUs,
               SimulatedLine& line) override {
    if (baud != baud_) return;
    if (!codes_.empty() && atUs - changedUs_ > kBarcodeChangeUs) {
      changedUs_ = atUs;
      device_->SetLastBarcode(codes_[next_++ % codes_.size()]);
    }
    device_->Receive(byte, parity, baud, atUs, line);
  }

 private:
  std::shared_ptr<Device> device_;
  uint32_t baud_;
  std::vector<std::string> codes_;
  std::size_t next_ = 0;
  int64_t changedUs_ = 0;
};

template <typename Device, typename Encode>
void Fill(Device& device, const std::vector<ProductRecord>& products, std::mt19937& rng,
          Encode encode) {
  for (std::size_t n = 0; n < products.size(); ++n) {
    encode(products[n], device.Record(n));
    device.SetAccounting(n, rng() % 4 == 0 ? 0 : rng() % 50000);
  }
}

std::vector<std::string> Codes(const std::vector<ProductRecord>& products) {
  std::vector<std::string> codes;
  for (std::size_t i = 0; i < products.size(); i += 7) codes.push_back(products[i].barcode);
  return codes;
}

void SeedTapes(sim::ControlTapes& tapes, std::mt19937& rng, int closed) {
  for (int t = 0; t < closed; ++t) {
    for (int p = 0; p < 5 + static_cast<int>(rng() % 20); ++p) {
      tapes.AddPurchase(rng() % 9 == 0, static_cast<uint16_t>(rng() % kProductsPerDevice),
                        1000 * (1 + rng() % 3) + (rng() % 2) * 250);
    }
    tapes.CloseCurrent(static_cast<uint16_t>(101 + t), 1 + t, 12, 26);
  }
  for (int p = 0; p < 4; ++p) tapes.AddPurchase(p == 3, static_cast<uint16_t>(p * 11), 1000);
}

template <typename Device>
void AttachAt(SimulatedLine& line, std::shared_ptr<Device> d, uint32_t baud,
              const std::vector<ProductRecord>& products) {
  line.Attach(std::make_shared<DemoDevice<Device>>(std::move(d), baud, Codes(products)));
}

void SeedZhrm3Family(SimulatedLine& line, std::mt19937& rng, Zhrm3FamilyModel model,
                     uint16_t address, int closedTapes) {
  auto d = std::make_shared<Zhrm3Device>(model, address);
  const auto products = DemoProducts(rng, kProductsPerDevice, 12);
  if (model == Zhrm3FamilyModel::Zhrm200) {
    Fill(*d, products, rng, [](const ProductRecord& r, std::span<uint8_t> out) {
      EncodeZhrm200Record(r, out.first<kZhrm200RecordBytes>());
    });
  } else {
    Fill(*d, products, rng, [](const ProductRecord& r, std::span<uint8_t> out) {
      EncodeZhrm3Record(r, out.first<kZhrm3RecordBytes>());
    });
  }
  SeedTapes(d->Tapes(), rng, closedTapes);
  AttachAt(line, d, 115200, products);
}

void SeedZhrm15(SimulatedLine& line, std::mt19937& rng, uint16_t address, uint16_t kkm,
                Zhrm15Model model) {
  auto d = std::make_shared<Zhrm15Device>(address, kkm);
  const auto products = DemoProducts(rng, kProductsPerDevice, 12);
  Fill(*d, products, rng, [model](const ProductRecord& r, std::span<uint8_t> out) {
    EncodeZhrm15Record(r, model, out.first<kZhrm15RecordBytes>());
  });
  AttachAt(line, d, 10416, products);
}

}  // namespace

const std::vector<DemoChannel>& DemoChannels() {
  static const std::vector<DemoChannel> channels = {
      {1, "ЖРМ 200", "0001", "00000001"},    {2, "ЖРМ 1.5", "0002", "00000002"},
      {3, "ЖРМ 1.5в", "0003", "00000003"},   {4, "ЖРМ 2.0", "0004", "00000004"},
      {5, "ЖРМ 3", "0005", "00000005"},      {6, "ЖРМ 3+", "0006", "00000006"},
      {7, "ККМ ЗЕЛ-7Ф", "0007", "00000007"},
  };
  return channels;
}

void SeedDemoNetwork(SimulatedLine& line, unsigned seed) {
  std::mt19937 rng(seed);
  SeedZhrm3Family(line, rng, Zhrm3FamilyModel::Zhrm200, 0x0001, 2);
  SeedZhrm15(line, rng, 0x0002, 0x0002, Zhrm15Model::Plain);
  SeedZhrm15(line, rng, 0x0003, 0x0003, Zhrm15Model::Weighed);
  {
    auto d = std::make_shared<Zhrm20Device>(0x0004);
    const auto products = DemoProducts(rng, kProductsPerDevice, 12);
    Fill(*d, products, rng, [](const ProductRecord& r, std::span<uint8_t> out) {
      EncodeZhrm20Record(r, out.first<kZhrm20RecordBytes>());
    });
    AttachAt(line, d, 19200, products);
  }
  SeedZhrm3Family(line, rng, Zhrm3FamilyModel::Zhrm3, 0x0005, 3);
  SeedZhrm3Family(line, rng, Zhrm3FamilyModel::Zhrm3Plus, 0x0006, 3);
  {
    auto d = std::make_shared<RegisterDevice>(0x07);
    const auto products = DemoProducts(rng, kProductsPerDevice, 16);
    Fill(*d, products, rng, [](const ProductRecord& r, std::span<uint8_t> out) {
      EncodeRegisterRecord(r, out.first<kRegisterRecordBytes>());
    });
    AttachAt(line, d, 9600, products);
  }
}

}  // namespace zel
