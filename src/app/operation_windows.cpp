#include "app/operation_windows.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <utility>
#include "app/window_placement.h"

namespace zel {
namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// A poll answered at once is repeated at once; one that failed waits, so a
// silent line costs no CPU while the window stays open.
constexpr int kPollAfterAnswerMs = 1;
constexpr int kPollAfterSilenceMs = 25;

}  // namespace

ImportReport::ImportReport(TImportForm& form, QWidget& mainWindow)
    : form_(form), main_(mainWindow) {
  form_.onStopRequested = [this] { stop_ = true; };
}

void ImportReport::ShowReport(const std::string& caption) {
  form_.setWindowTitle(Q(caption));
  form_.List()->clear();
  PlaceOverParent(form_);
  form_.show();
}

void ImportReport::AddReportLine(const std::string& text, bool select) {
  form_.List()->addItem(Q(text));
  if (select) form_.List()->setCurrentRow(form_.List()->count() - 1);
}

void ImportReport::CloseReport() {
  form_.hide();
}

void ImportReport::SetMainWindowEnabled(bool enabled) {
  main_.setEnabled(enabled);
  if (enabled) main_.activateWindow();
}

void ImportReport::ProcessEvents() {
  QCoreApplication::processEvents();
}

bool TapeReminderWindow::Show(int& /*mode*/) {
  // The window edits the workspace's reminder mode itself.
  return window_.Run() == 1;
}

BarcodeWindow::BarcodeWindow(TVV_shk& window, Workspace& ws) : window_(window), ws_(ws) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
  // Closed by the window manager, it ends the entry as its own button does.
  window_.onCloseRequested = [this] { entry_.Finish(); };
  connect(window_.BitBtn1(), &QPushButton::clicked, this, [this] {
    entry_.Finish();
    window_.hide();
  });
  connect(window_.BitBtn2(), &QPushButton::clicked, this,
          [this] { entry_.StoreAsPiece(ws_, ws_.table.CurrentProductRow); });
  connect(window_.Button1(), &QPushButton::clicked, this, [this] {
    entry_.StoreAsWeight(ws_);
    ShowView();
  });
}

BarcodeWindow::~BarcodeWindow() {
  window_.onCloseRequested = nullptr;
}

// Pressed during a poll, the button acts once the poll has ended: its
// channel check must not change the addresses under the running exchange.
void BarcodeWindow::Request() {
  if (polling_) {
    requestAfterPoll_ = true;
    return;
  }
  entry_.Request(ws_);
  if (entry_.state == BarcodeEntryState::Requested) timer_.start(kPollAfterAnswerMs);
}

void BarcodeWindow::Tick() {
  if (polling_) return;  // the running poll arms the timer again
  if (entry_.TakeShowRequest()) {
    PlaceOverParent(window_);
    window_.show();
    window_.raise();
  }
  if (entry_.state != BarcodeEntryState::Polling) return;
  if (LineTaken()) {
    timer_.start(kPollAfterSilenceMs);
    return;
  }
  polling_ = true;
  const BarcodePoll poll = PollWithInputHeld();
  polling_ = false;
  if (poll == BarcodePoll::Shown) ShowView();
  if (entry_.state != BarcodeEntryState::Closed) {
    timer_.start(poll == BarcodePoll::NoAnswer ? kPollAfterSilenceMs : kPollAfterAnswerMs);
  }
  if (std::exchange(requestAfterPoll_, false)) Request();
}

// A long operation of the window or an exchange of the automation server.
bool BarcodeWindow::LineTaken() const {
  return pauses_ > 0 || ws_.run.exchangeState == ExchangeState::Busy;
}

// Clicks and keys wait until the poll has ended, so none of them starts an
// exchange (a base read, another poll) in the middle of it.
BarcodePoll BarcodeWindow::PollWithInputHeld() {
  Link& link = ws_.link;
  const std::function<void()> pump = link.EventPump();
  link.SetEventPump([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
  const BarcodePoll poll = entry_.Poll(ws_);
  link.SetEventPump(pump);
  return poll;
}

void BarcodeWindow::ShowView() {
  const BarcodeView& v = entry_.view;
  window_.Label1()->setText(Q(v.code));
  window_.Label3()->setText(Q(v.result));
  const char* colour = v.colour == BarcodeView::Colour::Found     ? "yellow"
                       : v.colour == BarcodeView::Colour::Missing ? "red"
                                                                  : "white";
  window_.Label3()->setStyleSheet(QStringLiteral("background: %1;").arg(QLatin1String(colour)));
  window_.BitBtn2()->setEnabled(v.pieceEnabled);
  window_.Button1()->setEnabled(v.weightEnabled);
}

}  // namespace zel
