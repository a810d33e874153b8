// The process environment for one test: a variable set and restored, and
// whether a session bus is there to use.
#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

namespace zel::testing {

/// Sets an environment variable for one test and restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

inline bool HaveSessionBus() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  return address && *address;
}

}  // namespace zel::testing
