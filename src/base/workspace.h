// Everything the main window shows about the product base, without widgets:
// the table, the range, the controls' state, the active device, the options
// and the channels, plus the seams to the port, message boxes and progress.
// The window, the operations and the automation server share one instance.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "base/base_file.h"
#include "base/channels.h"
#include "base/product_number_entry.h"
#include "base/product_table.h"
#include "base/range.h"
#include "base/run_state.h"
#include "base/window_state.h"
#include "common/prompts.h"
#include "link/link.h"
#include "link/port_setup.h"

namespace zel {

/// The box "Активная база товаров" and what the active type switched on.
struct ActiveDevice {
  std::string typeText;    ///< "Тип прибора"
  std::string zhrmNumber;  ///< "ЖРМ №"
  std::string kkmNumber;   ///< "ККМ №"
  std::string baseFileName = BaseFileName(1);
  bool zhrmNumberShown = true;
  bool kkmNumberShown = true;
  int capacity = 4096;          ///< highest product number of the type
  bool controlTapesOn = false;  ///< control-tape pages and menu items
  bool blockKkmShown = false;   ///< "Блокировка ККМ" visible

  /// Whoever changed the active channel (the window, the settings load, an
  /// automation client), the window shows the new device.
  std::function<void()> onChanged;
  void Notify() const {
    if (onChanged) onChanged();
  }
};

/// Options kept in the settings ("Общие").
struct Options {
  bool blockKkm = false;  ///< "Блокировка ККМ" ticked
  /// Control-tape reminder: 1 always remind, 2 never, 3 read without it.
  int reminderMode = 1;
  bool reminderMenuTicked = true;  ///< "Напоминание перед чтением КЛ"
};

struct Workspace {
  Workspace(const std::filesystem::path& programDir, Prompts& prompts, ProgressHost& progress,
            DisconnectWarning& warning, Link& link, PortSetup& port)
      : programDir(programDir),
        prompts(prompts),
        progress(progress),
        link(link),
        port(port),
        folder(programDir),
        channels(folder, prompts, warning) {}

  const std::filesystem::path programDir;
  Prompts& prompts;
  ProgressHost& progress;
  Link& link;
  PortSetup& port;

  BaseFolder folder;
  ControlState controls;
  ProductTable table;
  RangeFields range{controls};
  ActiveDevice device;
  Options options;
  RunState run;
  ChannelTable channels;
  ProductNumberEntry numberEntry;
};

}  // namespace zel
