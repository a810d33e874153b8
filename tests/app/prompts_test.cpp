// The message boxes of the window: captions, buttons and answers.
#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <algorithm>

#include "app/qt_prompts.h"
#include "app_fixture.h"

namespace zel::testing {
namespace {

struct BoxSeen {
  std::string caption;
  std::string text;
  std::vector<std::string> buttons;
};

// Records the box that comes up and presses the button with `press`
// (empty: Esc).
void RecordAndPress(BoxSeen& seen, const std::string& press) {
  WhenModalShown([&seen, press](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    seen.caption = box->windowTitle().toStdString();
    seen.text = box->text().toStdString();
    for (QAbstractButton* b : box->buttons()) seen.buttons.push_back(b->text().toStdString());
    std::sort(seen.buttons.begin(), seen.buttons.end());  // the style decides the order
    for (QAbstractButton* b : box->buttons()) {
      if (b->text().toStdString() == press) b->click();
    }
    if (press.empty()) QTest::keyClick(box, Qt::Key_Escape);
  });
}

class PromptsTest : public ::testing::Test {
 protected:
  PromptsTest() { QtApp(); }
  QtPrompts prompts;
};

TEST_F(PromptsTest, OkBoxesCarryTheirCaptions) {
  struct Case {
    void (QtPrompts::*show)(const std::string&);
    const char* caption;
  };
  const Case cases[] = {{&QtPrompts::Message, "ZELBase"},
                        {&QtPrompts::Information, "Информация"},
                        {&QtPrompts::Warning, "Внимание"},
                        {&QtPrompts::Error, "Ошибка"}};
  for (const Case& c : cases) {
    BoxSeen seen;
    RecordAndPress(seen, "OK");
    (prompts.*c.show)("Текст");
    EXPECT_EQ(seen.caption, c.caption);
    EXPECT_EQ(seen.text, "Текст");
    EXPECT_EQ(seen.buttons, std::vector<std::string>{"OK"});
  }
}

TEST_F(PromptsTest, CarriageReturnStartsANewLine) {
  BoxSeen seen;
  RecordAndPress(seen, "OK");
  prompts.Information("Не удалось открыть файл Base3.bsd\rданный файл будет создан заново.");
  EXPECT_EQ(seen.text, "Не удалось открыть файл Base3.bsd\nданный файл будет создан заново.");
}

TEST_F(PromptsTest, YesNoQuestionAnswersByButtonAndEscMeansNo) {
  struct Case {
    const char* press;
    bool answer;
  };
  for (const Case& c : {Case{"&Да", true}, Case{"&Нет", false}, Case{"", false}}) {
    BoxSeen seen;
    RecordAndPress(seen, c.press);
    EXPECT_EQ(prompts.AskYesNo("Выйти из программы ?"), c.answer) << c.press;
    EXPECT_EQ(seen.caption, "Подтверждение");
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"&Да", "&Нет"}));
  }
}

TEST_F(PromptsTest, YesNoCancelQuestionAnswersByButtonAndEscMeansCancel) {
  struct Case {
    const char* press;
    Answer answer;
  };
  for (const Case& c : {Case{"&Да", Answer::Yes}, Case{"&Нет", Answer::No},
                        Case{"Отмена", Answer::Cancel}, Case{"", Answer::Cancel}}) {
    BoxSeen seen;
    RecordAndPress(seen, c.press);
    EXPECT_EQ(prompts.AskYesNoCancel("Читать одновременно с товароучетом ?"), c.answer) << c.press;
    EXPECT_EQ(seen.caption, "Подтверждение");
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"&Да", "&Нет", "Отмена"}));
  }
}

}  // namespace
}  // namespace zel::testing
