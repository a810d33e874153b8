// The demo device network behind a pseudo-terminal, answering no earlier than
// the wire allows (11-bit bytes, 1 ms turnaround), so that the whole program
// can be measured from outside as on a real line. Prepares DATA_DIR as a demo
// folder whose COM1 is the pty, prints the pty's path, then serves until its
// standard input closes; every line read there prints, in microseconds so
// far, the modelled wire time (the bytes both ways at the line's speed) and
// how late this host wrote the last byte of the devices' replies (its own
// wake-ups, which a real device does not have).
//
// Usage: bench_pty_line DATA_DIR [BATCH_US]
// BATCH_US > 0 writes the devices' bytes at most that often, as a USB
// adapter's latency timer does (1000 for an FTDI chip at low latency).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "base/ini_file.h"
#include "base/settings.h"
#include "pty_device_host.h"
#include "sim/demo/demo_network.h"
#include "sim/demo/demo_setup.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: bench_pty_line DATA_DIR [BATCH_US]\n");
    return 2;
  }
  zel::testing::PtyDeviceHost host(argc > 2 ? std::atoll(argv[2]) : 0);
  if (host.SlavePath().empty()) {
    std::fprintf(stderr, "%s\n", host.Problem().c_str());
    return 1;
  }
  host.WithLine([](zel::SimulatedLine& line) { zel::SeedDemoNetwork(line); });
  const std::filesystem::path dir = argv[1];
  const auto ini = dir / zel::kSettingsFileName;
  std::string error;
  zel::IniFile settings;
  if (!zel::PrepareDemoFolder(dir, error) || !settings.Load(ini)) {
    std::fprintf(stderr, "%s: %s\n", dir.c_str(), error.c_str());
    return 1;
  }
  settings.WriteString(zel::kComSection, "Com1Path", host.SlavePath());
  if (!settings.Save(ini, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", host.SlavePath().c_str());
  std::fflush(stdout);
  for (std::string line; std::getline(std::cin, line);) {
    long long us = 0;
    host.WithLine([&us](zel::SimulatedLine& l) {
      us = static_cast<long long>(l.Sent().size() + l.ReceivedCount()) * l.Current().ByteTimeUs();
    });
    std::printf("%lld %lld\n", us, static_cast<long long>(host.LateUs()));
    std::fflush(stdout);
  }
  return 0;
}
