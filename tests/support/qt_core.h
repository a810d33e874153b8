// The one QCoreApplication of a test program without windows.
#pragma once

#include <QCoreApplication>

namespace zel::testing {

inline QCoreApplication& QtCore() {
  static int argc = 1;
  static char name[] = "zel_test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

}  // namespace zel::testing
