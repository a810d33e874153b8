#include "app/qt_prompts.h"

#include <QApplication>
#include <QPushButton>
#include <cstdio>

namespace zel {
namespace {

constexpr const char* kYes = "&Да";
constexpr const char* kNo = "&Нет";
constexpr const char* kOk = "OK";
constexpr const char* kCancel = "Отмена";

// A box over the window the operator is looking at.
QMessageBox* NewBox(QMessageBox::Icon icon, const char* caption, const std::string& text) {
  auto* box = new QMessageBox(icon, QString::fromUtf8(caption), BoxText(text),
                              QMessageBox::NoButton, QApplication::activeWindow());
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose, false);
  return box;
}

}  // namespace

bool HasScreen() {
  const QString platform = QGuiApplication::platformName();
  return QGuiApplication::primaryScreen() && platform != QStringLiteral("offscreen") &&
         !platform.startsWith(QStringLiteral("minimal"));
}

QtPrompts::~QtPrompts() {
  for (const QPointer<QMessageBox>& box : unattended_) delete box.data();
}

bool QtPrompts::ShownUnattended(QMessageBox* box) {
  if (!ForClient() || !watched || watched()) return false;
  std::fprintf(stderr, "zelbase: %s: %s\n", box->windowTitle().toUtf8().constData(),
               box->text().toUtf8().constData());
  std::fflush(stderr);
  if (HasScreen()) {
    // Closing it must not end the program: the application does not quit
    // on its last window.
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose, true);
    box->show();
    std::erase_if(unattended_, [](const QPointer<QMessageBox>& b) { return b.isNull(); });
    unattended_.emplace_back(box);
  } else {
    delete box;
  }
  return true;
}

QString BoxText(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

void QtPrompts::ShowOk(QMessageBox::Icon icon, const char* caption, const std::string& text) {
  QMessageBox* box = NewBox(icon, caption, text);
  box->addButton(QString::fromUtf8(kOk), QMessageBox::AcceptRole);
  if (ShownUnattended(box)) return;
  box->exec();
  delete box;
}

void QtPrompts::Message(const std::string& text) {
  ShowOk(QMessageBox::NoIcon, kProgramTitle, text);
}

void QtPrompts::Information(const std::string& text) {
  ShowOk(QMessageBox::Information, "Информация", text);
}

void QtPrompts::Warning(const std::string& text) {
  ShowOk(QMessageBox::Warning, "Внимание", text);
}

void QtPrompts::Error(const std::string& text) {
  ShowOk(QMessageBox::Critical, "Ошибка", text);
}

bool QtPrompts::AskYesNo(const std::string& text) {
  QMessageBox* box = NewBox(QMessageBox::Question, "Подтверждение", text);
  QPushButton* yes = box->addButton(QString::fromUtf8(kYes), QMessageBox::YesRole);
  QPushButton* no = box->addButton(QString::fromUtf8(kNo), QMessageBox::NoRole);
  box->setDefaultButton(yes);
  // Esc and the close box both answer No: leaving a question unanswered
  // never starts anything.
  box->setEscapeButton(no);
  if (ShownUnattended(box)) return false;
  box->exec();
  const bool answer = box->clickedButton() == yes;
  delete box;
  return answer;
}

Answer QtPrompts::AskYesNoCancel(const std::string& text) {
  QMessageBox* box = NewBox(QMessageBox::Question, "Подтверждение", text);
  QPushButton* yes = box->addButton(QString::fromUtf8(kYes), QMessageBox::YesRole);
  QPushButton* no = box->addButton(QString::fromUtf8(kNo), QMessageBox::NoRole);
  QPushButton* cancel = box->addButton(QString::fromUtf8(kCancel), QMessageBox::RejectRole);
  box->setDefaultButton(yes);
  box->setEscapeButton(cancel);
  if (ShownUnattended(box)) return Answer::Cancel;
  box->exec();
  const QAbstractButton* clicked = box->clickedButton();
  delete box;
  if (clicked == yes) return Answer::Yes;
  if (clicked == no) return Answer::No;
  return Answer::Cancel;
}

}  // namespace zel
