#include "app/app_windows.h"

#include "app/about_box.h"
#include "app/fshk1.h"
#include "app/init_comm.h"
#include "app/side_windows.h"
#include "app/tovar_number_form.h"
#include "app/warning_base_form.h"
#include "app/zhrm_select.h"

namespace zel {

template <typename W>
W* AppWindows::Add(W* window) {
  order_.push_back(window);
  return window;
}

// The dialogs are children of the main window, which deletes them.
AppWindows::AppWindows(AppCore& core) : core_(core) {
  main_ = std::make_unique<TFSHK1>(core);
  TFSHK1* parent = Add(main_.get());
  initComm_ = Add(new TInit_Comm(core.port, core.prompts, parent));
  zhrmSelect_ = Add(new TZhrm_select(core.ws, core.settings, parent));
  vvShk_ = Add(new TVV_shk(parent));
  warning_ = Add(new TWarningBaseForm(parent));
  import_ = Add(new TImportForm(parent));
  readKl_ = Add(new TReadKLWarning(core.ws.options, parent));
  about_ = Add(new TAboutBox(parent));
  tovarNumber_ = Add(new TTovarNumberForm(parent));
  core.warning.SetTarget(warning_);
  main_->SetDialogs({initComm_, zhrmSelect_, about_, tovarNumber_, vvShk_, import_, readKl_});
}

AppWindows::~AppWindows() {
  core_.warning.SetTarget(nullptr);
}

}  // namespace zel
