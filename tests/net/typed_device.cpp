#include "typed_device.h"

#include "sim/register_device.h"
#include "sim/zhrm15_device.h"
#include "sim/zhrm20_device.h"
#include "sim/zhrm3_device.h"
#include "support/varied_products.h"

namespace zel::testing {
namespace {

template <typename D>
TypedDevice Wrap(std::shared_ptr<D> d) {
  return {d, [d](std::size_t n) { return HexText(d->Record(n)); }};
}

}  // namespace

TypedDevice MakeTypedDevice(const std::string& type) {
  if (type == "ЖРМ 1.5" || type == "ЖРМ 1.5в") {
    auto d = std::make_shared<Zhrm15Device>(0x0001, 0x0001);
    d->RequireBaud(10416);
    return Wrap(d);
  }
  if (type == "ЖРМ 2.0") {
    auto d = std::make_shared<Zhrm20Device>(0x0001);
    d->RequireBaud(19200);
    return Wrap(d);
  }
  if (type == "ККМ ЗЕЛ-7Ф") return Wrap(std::make_shared<RegisterDevice>(0x01));
  const auto model = type == "ЖРМ 3"    ? Zhrm3FamilyModel::Zhrm3
                     : type == "ЖРМ 3+" ? Zhrm3FamilyModel::Zhrm3Plus
                                        : Zhrm3FamilyModel::Zhrm200;
  return Wrap(std::make_shared<Zhrm3Device>(model, 0x0001));
}

}  // namespace zel::testing
