#include "operations/register_lock.h"

namespace zel {

RegisterLock::RegisterLock(Workspace& ws, ActiveDriver& active) : active_(active) {
  if (!ws.options.blockKkm || !active.rules->lockFramesWrites) return;
  active.driver->LockRegister();
  held_ = true;
}

// A register left locked stops the shop's till, so the release is repeated
// until the device acknowledges it, as any other record exchange is.
void RegisterLock::Release() {
  if (!held_) return;
  held_ = false;
  TryUpTo(kAttempts, [&] { return active_.driver->UnlockRegister(); });
}

}  // namespace zel
