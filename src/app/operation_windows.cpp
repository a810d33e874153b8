#include "app/operation_windows.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

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

void BarcodeWindow::Request() {
  entry_.Request(ws_);
  if (entry_.state == BarcodeEntryState::Requested) timer_.start(kPollAfterAnswerMs);
}

void BarcodeWindow::Tick() {
  if (entry_.TakeShowRequest()) {
    window_.show();
    window_.raise();
  }
  if (entry_.state != BarcodeEntryState::Polling) return;
  const bool answered = entry_.Poll(ws_);
  if (answered) ShowView();
  if (entry_.state == BarcodeEntryState::Polling) {
    timer_.start(answered ? kPollAfterAnswerMs : kPollAfterSilenceMs);
  }
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
