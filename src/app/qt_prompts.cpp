#include "app/qt_prompts.h"

#include <QApplication>
#include <QPushButton>

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

QString BoxText(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

void QtPrompts::ShowOk(QMessageBox::Icon icon, const char* caption, const std::string& text) {
  QMessageBox* box = NewBox(icon, caption, text);
  box->addButton(QString::fromUtf8(kOk), QMessageBox::AcceptRole);
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
  box->exec();
  const QAbstractButton* clicked = box->clickedButton();
  delete box;
  if (clicked == yes) return Answer::Yes;
  if (clicked == no) return Answer::No;
  return Answer::Cancel;
}

}  // namespace zel
