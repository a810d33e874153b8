#include "operations/register_lock.h"

namespace zel {

RegisterLock::RegisterLock(Workspace& ws, ActiveDriver& active) : active_(active) {
  if (!ws.options.blockKkm || !active.rules->lockFramesWrites) return;
  active.driver->LockRegister();
  held_ = true;
}

void RegisterLock::Release() {
  if (!held_) return;
  held_ = false;
  active_.driver->UnlockRegister();
}

}  // namespace zel
