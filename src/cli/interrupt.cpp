#include "cli/interrupt.h"

#include <csignal>

namespace zel::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) {
  interrupted = 1;
}

}  // namespace

void InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // Caught once: a second signal ends a program that does not stop by itself.
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool InterruptRequested() {
  return interrupted != 0;
}

void ClearInterrupt() {
  interrupted = 0;
}

}  // namespace zel::cli
