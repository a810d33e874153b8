// The nine windows of the program, created at start-up in their order and
// kept until the end: the main window first, then the dialogs beside it.
#pragma once

#include <memory>
#include <vector>

#include "app/app_core.h"

class QWidget;

namespace zel {

class TAboutBox;
class TFSHK1;
class TImportForm;
class TInit_Comm;
class TReadKLWarning;
class TTovarNumberForm;
class TVV_shk;
class TWarningBaseForm;
class TZhrm_select;

class AppWindows {
 public:
  explicit AppWindows(AppCore& core);
  ~AppWindows();

  TFSHK1* FSHK1() const { return main_.get(); }
  TInit_Comm* Init_Comm() const { return initComm_; }
  TZhrm_select* Zhrm_select() const { return zhrmSelect_; }
  TVV_shk* VV_shk() const { return vvShk_; }
  TWarningBaseForm* WarningBaseForm() const { return warning_; }
  TImportForm* ImportForm() const { return import_; }
  TReadKLWarning* ReadKLWarning() const { return readKl_; }
  TAboutBox* AboutBox() const { return about_; }
  TTovarNumberForm* TovarNumberForm() const { return tovarNumber_; }

  /// All nine, in the order they were created.
  const std::vector<QWidget*>& InCreationOrder() const { return order_; }

 private:
  template <typename W>
  W* Add(W* window);

  AppCore& core_;
  std::unique_ptr<TFSHK1> main_;
  TInit_Comm* initComm_ = nullptr;
  TZhrm_select* zhrmSelect_ = nullptr;
  TVV_shk* vvShk_ = nullptr;
  TWarningBaseForm* warning_ = nullptr;
  TImportForm* import_ = nullptr;
  TReadKLWarning* readKl_ = nullptr;
  TAboutBox* about_ = nullptr;
  TTovarNumberForm* tovarNumber_ = nullptr;
  std::vector<QWidget*> order_;
};

}  // namespace zel
