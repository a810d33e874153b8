// The driver of the active device type. The only place that maps a type to
// its family's command set.
#pragma once

#include <memory>
#include <string_view>

#include "devices/device_driver.h"
#include "link/link.h"

namespace zel {

/// The driver for the type named `typeName`; null for a name that selects
/// no device (the Latin "ККМ ZEL-7Ф", or anything unknown).
std::unique_ptr<DeviceDriver> MakeDriver(std::string_view typeName, Link& link);

}  // namespace zel

#include "base/device_types.h"
#include "base/workspace.h"
#include "operations/family_rules.h"

namespace zel {

/// The active device's type, driver and family rules for one operation.
struct ActiveDriver {
  const DeviceType* type = nullptr;
  std::unique_ptr<DeviceDriver> driver;
  const FamilyRules* rules = nullptr;
};

/// The type, driver and rules of the active type; all null when the type
/// selects no device.
ActiveDriver FindActiveDriver(Workspace& ws);

/// `FindActiveDriver` for the window's operations; false (after
/// "Неверная версия ЖРМ !!!") when the type selects no device.
bool OpenActiveDriver(Workspace& ws, ActiveDriver& out);

}  // namespace zel
