#include "operations/driver_factory.h"

#include "base/device_types.h"
#include "devices/register_driver.h"
#include "devices/zhrm15_driver.h"
#include "devices/zhrm200_driver.h"
#include "devices/zhrm20_driver.h"
#include "devices/zhrm3_driver.h"

namespace zel {

std::unique_ptr<DeviceDriver> MakeDriver(std::string_view typeName, Link& link) {
  if (typeName == kTypeZhrm15) return std::make_unique<Zhrm15Driver>(link, Zhrm15Model::Plain);
  if (typeName == kTypeZhrm15v) return std::make_unique<Zhrm15Driver>(link, Zhrm15Model::Weighed);
  if (typeName == kTypeZhrm20) return std::make_unique<Zhrm20Driver>(link);
  if (typeName == kTypeZhrm3) return std::make_unique<Zhrm3Driver>(link, Zhrm3Model::Zhrm3);
  if (typeName == kTypeZhrm3Plus) return std::make_unique<Zhrm3Driver>(link, Zhrm3Model::Zhrm3Plus);
  if (typeName == kTypeZhrm200) return std::make_unique<Zhrm200Driver>(link);
  if (typeName == kTypeRegister) return std::make_unique<RegisterDriver>(link);
  return nullptr;
}

}  // namespace zel

namespace zel {

ActiveDriver FindActiveDriver(Workspace& ws) {
  ActiveDriver active;
  active.type = DeviceTypeTable::Find(ws.device.typeText);
  active.driver = MakeDriver(ws.device.typeText, ws.link);
  if (!active.type || !active.driver) return {};
  active.rules = &RulesOf(active.type->family);
  return active;
}

bool OpenActiveDriver(Workspace& ws, ActiveDriver& out) {
  out = FindActiveDriver(ws);
  if (!out.driver) ws.prompts.Error("Неверная версия ЖРМ !!!");
  return out.driver != nullptr;
}

}  // namespace zel
