#include "rfc2217_peer.h"

namespace zel::testing {

const char* PeerName(Peer peer) {
  return peer == Peer::TestServer ? "TestServer" : "Ser2net";
}

Rfc2217Peer::Rfc2217Peer(Peer peer, std::shared_ptr<LineDevice> device,
                         const std::string& ser2netProgram) {
  if (peer == Peer::TestServer) {
    server_ = std::make_unique<Rfc2217TestServer>();
    server_->Attach(std::move(device));
    return;
  }
  host_ = std::make_unique<PtyDeviceHost>();
  host_->Attach(std::move(device));
  if (!host_->SlavePath().empty())
    ser2net_ = std::make_unique<Ser2netProcess>(ser2netProgram, host_->SlavePath());
}

std::string Rfc2217Peer::Path() const {
  if (server_) return server_->Path();
  return ser2net_ ? ser2net_->Path() : std::string();
}

std::string Rfc2217Peer::Problem() const {
  if (server_) return server_->Path().empty() ? "the test server could not listen" : "";
  return ser2net_ ? ser2net_->Problem() : host_->Problem();
}

void Rfc2217Peer::Inspect(const std::function<void()>& look) {
  if (server_)
    server_->Inspect(look);
  else
    host_->Inspect(look);
}

}  // namespace zel::testing
