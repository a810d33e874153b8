// The cash-register lock around a write or an accounting reset: sent when
// "Блокировка ККМ" is ticked on a family that has it, released on every end.
#pragma once

#include "base/workspace.h"
#include "operations/driver_factory.h"

namespace zel {

class RegisterLock {
 public:
  /// Sends the lock now when the option and the family call for it; the
  /// device's answer is not waited on by the operation.
  RegisterLock(Workspace& ws, ActiveDriver& active);
  /// Releases the lock if it was sent; later calls do nothing.
  void Release();
  ~RegisterLock() { Release(); }
  RegisterLock(const RegisterLock&) = delete;
  RegisterLock& operator=(const RegisterLock&) = delete;

 private:
  ActiveDriver& active_;
  bool held_ = false;
};

}  // namespace zel
