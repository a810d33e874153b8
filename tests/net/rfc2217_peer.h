// The two RFC 2217 servers the client is tried against, each with one
// virtual device behind it: our test server, and ser2net in front of a
// pseudo-terminal the device listens on.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "pty_device_host.h"
#include "rfc2217_test_server.h"
#include "ser2net_process.h"
#include "sim/simulated_line.h"

namespace zel::testing {

enum class Peer { TestServer, Ser2net };

const char* PeerName(Peer peer);
inline void PrintTo(Peer peer, std::ostream* os) {
  *os << PeerName(peer);
}

class Rfc2217Peer {
 public:
  /// For Peer::Ser2net, `ser2netProgram` is what Ser2netProcess::Find() gave.
  Rfc2217Peer(Peer peer, std::shared_ptr<LineDevice> device,
              const std::string& ser2netProgram = {});

  /// The path to open; empty when the peer did not start (Problem() says why).
  std::string Path() const;
  std::string Problem() const;
  /// Runs `look` while the peer keeps off the device.
  void Inspect(const std::function<void()>& look);
  /// The pty the device listens on (Peer::Ser2net only, else null).
  PtyDeviceHost* Host() { return host_.get(); }

 private:
  std::unique_ptr<Rfc2217TestServer> server_;
  std::unique_ptr<PtyDeviceHost> host_;
  std::unique_ptr<Ser2netProcess> ser2net_;
};

}  // namespace zel::testing
