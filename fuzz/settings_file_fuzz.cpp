// A whole ZELBase.ini through the start-up load, then SavePos and the load
// of what was saved. Holds: the load ends with values in their bounds (a
// range the active type holds, channel, page and reminder mode), a key the
// program does not know survives the save, and a file the program saved is
// a fixed point: it loads to the same state and saves to the same bytes.
#include <sstream>

#include "base/device_types.h"
#include "base/settings.h"
#include "common/cp1251.h"
#include "fuzz_workspace.h"

using namespace zel;
using namespace zel::fuzz;

namespace {

// Added to every input: a section of another program's, and a short range
// for a file that names none (the default 1..4096 makes a load read 4096
// records), in the input's encoding so that it is read as before.
constexpr std::string_view kForeign = "\r\n[Foreign]\r\nkey=kept\r\n";
constexpr std::string_view kShortRange = "[Диапазон базы]\r\nbegin=1\r\nend=16\r\n";

std::string WithTail(std::string input) {
  const bool utf8 = IniFile::Parse(input).ReadAsUtf8();
  return input + std::string(kForeign) +
         (utf8 ? std::string(kShortRange) : Utf8ToCp1251(kShortRange));
}

// Everything the load sets, as text to compare.
std::string State(const Workspace& ws, const PortSetup& port) {
  std::ostringstream s;
  s << port.comIndex << '|' << port.speedText << '|';
  for (const std::string& p : port.comPaths) s << p << '|';
  s << ws.range.StartText() << '|' << ws.range.EndText() << '|' << ws.range.CurrentRecord << '|'
    << ws.range.LastRecord << '|' << ws.device.typeText << '|' << ws.device.zhrmNumber << '|'
    << ws.device.kkmNumber << '|' << ws.device.baseFileName << '|' << ws.device.capacity << '|'
    << ws.options.blockKkm << ws.options.reminderMode << ws.options.reminderMenuTicked << '|'
    << ws.channels.activeChannel << '|' << ws.channels.frontPage << '\n';
  for (int n = 1; n <= kChannelCount; ++n) {
    const DeviceChannel& c = ws.channels.Channel(n);
    s << c.disconnected << c.activeMark << c.controlsShown << '|' << c.zhrmNumber << '|'
      << c.deviceType << '|' << c.kkmNumber << '\n';
  }
  return s.str();
}

void InBounds(const Workspace& ws) {
  const int capacity = DeviceTypeTable::RulesFor(ws.device.typeText).capacity;
  if (ws.range.CurrentRecord < 1 || ws.range.LastRecord < ws.range.CurrentRecord ||
      ws.range.LastRecord > capacity) {
    Broken("range " + std::to_string(ws.range.CurrentRecord) + ".." +
           std::to_string(ws.range.LastRecord) + " for " + ws.device.typeText);
  }
  if (ws.channels.activeChannel < 0 || ws.channels.activeChannel > kChannelCount ||
      ws.channels.frontPage < 1 || ws.channels.frontPage > kChannelCount ||
      ws.options.reminderMode < 1 || ws.options.reminderMode > 3) {
    Broken("a channel, page or reminder mode out of bounds");
  }
}

// Loads the settings file into a fresh workspace, saves it, returns the
// state loaded and the bytes saved.
std::pair<std::string, std::string> LoadAndSave(const std::filesystem::path& dir) {
  FuzzWorkspace fw(dir);
  Settings settings(dir);
  if (!settings.Load(fw.ws)) Broken("the load did not run");
  InBounds(fw.ws);
  if (!settings.SavePos(fw.ws)) Broken("the save failed");
  return {State(fw.ws, fw.port), ReadBytes(settings.Path())};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static ProgramFolder folder;
  const std::filesystem::path ini = folder.path() / kSettingsFileName;
  const std::string input = WithTail(std::string(reinterpret_cast<const char*>(data), size));
  WriteBytes(ini, input);
  const auto [state, saved] = LoadAndSave(folder.path());
  if (IniFile::Parse(saved).Find("Foreign", "key") != IniFile::Parse(input).Find("Foreign", "key"))
    Broken("a key of another program was lost");
  // What we write is cp1251; names that happen to form UTF-8 are taken for
  // an editor's file by design, and read otherwise.
  if (IniFile::Parse(saved).ReadAsUtf8()) return 0;
  // The first save may change what the input held: characters cp1251 lacks
  // become '?', and a range checked against the type the file names for the
  // window is saved for the active channel's type, which aligns it anew.
  // What the program saved is a fixed point: it loads to the state it was
  // saved from and saves to the same bytes.
  const auto [loaded, resaved] = LoadAndSave(folder.path());
  if (resaved == saved) return 0;  // loads as `loaded` again
  const auto [again, third] = LoadAndSave(folder.path());
  if (again != loaded) Broken("the saved file loads otherwise:\n" + loaded + "---\n" + again);
  if (third != resaved) Broken("the saved file saves otherwise");
  return 0;
}
