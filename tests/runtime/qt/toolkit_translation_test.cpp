#include <QLabel>
#include <QMenu>
#include <QTranslator>

#include <memory>

#include "form2_window_fixture.h"
#include "runtime/qt/qt_translations.h"

// The toolkit's own texts speak the user's language; the form's own texts
// stay as they are. Each test removes the translation it installed.

namespace {

QStringList ContextMenuTexts(QLineEdit* edit) {
    const std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) texts << action->text().section('\t', 0, 0).remove('&');
    }
    return texts;
}

using ToolkitTranslationTest = Form2WindowFixture;

TEST_F(ToolkitTranslationTest, UnderARussianLocaleTheInputsMenuSpeaksRussian) {
    const std::unique_ptr<QTranslator> translation(
        InstallToolkitTranslation(QLocale(QLocale::Russian, QLocale::Russia)));
    ASSERT_NE(translation, nullptr) << "no translation for Russian";

    const QStringList texts = ContextMenuTexts(edit("Text1"));

    EXPECT_TRUE(texts.contains("Вставить")) << texts.join(", ").toStdString();
    EXPECT_FALSE(texts.contains("Paste"));
    EXPECT_EQ(Find<QLabel>(window(), "Label1")->text(), QString("Фамилия,Имя"));
    EXPECT_EQ(button("Command1")->text(), QString("добавить"));
    EXPECT_EQ(combo()->itemText(0), QString("Male"));
    EXPECT_EQ(window().windowTitle(), QString("Form2"));
}

TEST_F(ToolkitTranslationTest, ALanguageTheToolkitDoesNotSpeakLeavesItsEnglish) {
    const std::unique_ptr<QTranslator> translation(
        InstallToolkitTranslation(QLocale(QLocale::Esperanto, QLocale::World)));
    EXPECT_EQ(translation, nullptr);
    EXPECT_TRUE(ContextMenuTexts(edit("Text1")).contains("Paste"));
}

// The form is laid out left to right, as it was drawn, even when the
// toolkit's own texts are in a language written right to left.
TEST_F(ToolkitTranslationTest, ARightToLeftLanguageLeavesTheFormLeftToRight) {
    const std::unique_ptr<QTranslator> translation(
        InstallToolkitTranslation(QLocale(QLocale::Hebrew, QLocale::Israel)));
    ASSERT_NE(translation, nullptr) << "no translation for Hebrew";
    EXPECT_FALSE(ContextMenuTexts(edit("Text1")).contains("Paste"));
    EXPECT_EQ(QApplication::layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(window().layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(edit("Text1")->layoutDirection(), Qt::LeftToRight);
}

} // namespace
