// A network serial server of our own, for tests and benchmarks: it listens on
// 127.0.0.1, speaks enough RFC 2217 to host a SimulatedLine with virtual
// devices, applies each COM-PORT-OPTION command to that line at its place in
// the stream (so a device tells the address byte from the body by parity) and
// records what it received. Its telnet decoding is its own, independent of the
// client under test.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "hosted_line.h"
#include "sim/simulated_line.h"

namespace zel::testing {

class Rfc2217TestServer {
 public:
  struct Options {
    bool offerComPort = true;  ///< false: refuse COM-PORT-OPTION
    bool answerPurge = true;   ///< false: never answer PURGE-DATA
    bool binary = true;        ///< false: refuse BINARY both ways
    /// Line bytes sent just before each purge answer: bytes that were under
    /// way when the purge arrived.
    std::vector<uint8_t> staleBeforePurgeAnswer;
    uint32_t answerBaud = 0;        ///< non-zero: the speed the server claims to have set
    uint32_t answerBaudFor = 0;     ///< non-zero: claims answerBaud only when asked for this
    std::vector<uint8_t> greeting;  ///< raw bytes sent first on each connection
  };
  /// One COM-PORT-OPTION command as the server applied it.
  struct Command {
    uint8_t code = 0;
    std::vector<uint8_t> value;
    std::size_t lineBytesBefore = 0;  ///< bytes put on the line before it
    int64_t atUs = 0;                 ///< steady time it was applied
  };

  explicit Rfc2217TestServer(Options options);
  Rfc2217TestServer() : Rfc2217TestServer(Options{}) {}
  ~Rfc2217TestServer();
  Rfc2217TestServer(const Rfc2217TestServer&) = delete;
  Rfc2217TestServer& operator=(const Rfc2217TestServer&) = delete;

  /// "rfc2217://127.0.0.1:PORT"; empty when listening failed.
  std::string Path() const;
  /// Puts a device on the hosted line.
  void Attach(std::shared_ptr<LineDevice> device);
  /// Runs `look` while the server thread keeps off the devices.
  void Inspect(const std::function<void()>& look);

  // Snapshots, safe from the test's thread.
  std::vector<Command> Commands();
  std::vector<SimulatedLine::SentByte> LineBytes();
  std::vector<uint8_t> Received();  ///< every byte the client sent, raw
  LineSettings Settings();
  bool Dtr();
  int Connections();

  // Each waits at most timeoutMs; false when it ran out.
  bool AwaitReceived(std::size_t bytes, int timeoutMs);
  bool AwaitCommands(std::size_t count, int timeoutMs);
  bool AwaitConnections(int count, int timeoutMs);
  /// Waits until `match` holds for everything received so far.
  bool AwaitReceivedMatching(const std::function<bool(const std::vector<uint8_t>&)>& match,
                             int timeoutMs);

  /// Sends raw bytes to the client exactly as given.
  void Inject(std::vector<uint8_t> raw);
  /// Closes the client's connection.
  void Drop();
  /// From now on PURGE-DATA goes unanswered.
  void StopAnsweringPurges();

 private:
  enum class Parse : uint8_t { Data, Iac, Verb, Sub, SubIac };

  bool Await(const std::function<bool()>& done, int timeoutMs);
  void Run();
  void Accept();
  int64_t NextWakeUs();
  void ServeClient();
  void TakeFromClient(const uint8_t* bytes, std::size_t n);
  void TakeByte(uint8_t b, std::vector<uint8_t>& data);
  void AnswerVerb(uint8_t verb, uint8_t option);
  void ApplyCommand(const std::vector<uint8_t>& sub);
  void ForwardDueBytes();
  void SendRaw(const std::vector<uint8_t>& bytes);
  void CloseClient();
  void Wake();

  Options options_;
  int listenFd_ = -1;
  int clientFd_ = -1;
  int wakePipe_[2] = {-1, -1};
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};

  std::mutex mu_;  // everything below; the thread holds it except in poll()
  std::condition_variable changed_;
  HostedLine line_;
  LineSettings settings_;
  bool dtr_ = false;
  int connections_ = 0;
  Parse parse_ = Parse::Data;
  uint8_t verb_ = 0;
  std::vector<uint8_t> sub_;
  std::vector<Command> commands_;
  std::vector<uint8_t> received_;
  std::vector<uint8_t> injected_;
  bool dropRequested_ = false;

  std::thread thread_;
};

}  // namespace zel::testing
