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
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (active_.driver->UnlockRegister()) return;
  }
}

}  // namespace zel
