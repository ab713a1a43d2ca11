#include <QClipboard>
#include <QImage>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>

#include <functional>

#include "form2_window_fixture.h"

// The inputs hold one line each: text with line breaks that arrives from
// outside, by any way a desktop offers, keeps its first line only, put in at
// the cursor without touching the text around it. The line breaks are CR
// and LF; other control characters come in unchanged (see
// bad_input_test.cpp). These tests also run under a real X server, where the
// selection that a middle click pastes exists (see CMakeLists.txt).

namespace {

// An input as the user meets it: the widget that takes the keyboard and the
// line edit that holds the text (the same widget, but for the combo box).
struct Input {
    QWidget* focus;
    QLineEdit* edit;
};

// A point inside the edit at the given place in its text.
QPoint PointAtPosition(QLineEdit* edit, int position) {
    const int kept = edit->cursorPosition();
    edit->setCursorPosition(position);
    const QPoint point = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    edit->setCursorPosition(kept);
    return point;
}

void PasteWithKeys(const Input& input, const QString& text, Qt::Key key,
                   Qt::KeyboardModifiers modifiers) {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(input.focus, key, modifiers);
}

void PasteFromTheContextMenu(const Input& input, const QString& text) {
    QApplication::clipboard()->setText(text);
    const QPoint point = input.edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, point, input.edit->mapToGlobal(point));
    QApplication::sendEvent(input.edit, &menuEvent);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "no context menu";
    QAction* paste = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith("&Paste")) paste = action;
    }
    ASSERT_NE(paste, nullptr) << "no Paste in the context menu";
    ASSERT_TRUE(paste->isEnabled());
    menu->close();
    paste->trigger();
}

void PasteWithAMiddleClick(const Input& input, const QString& text) {
    QApplication::clipboard()->setText(text, QClipboard::Selection);
    QTest::mouseClick(input.edit, Qt::MiddleButton, {},
                      PointAtPosition(input.edit, input.edit->cursorPosition()));
}

void DropText(const Input& input, const QString& text) {
    QMimeData data;
    data.setText(text);
    const QPoint point = PointAtPosition(input.edit, input.edit->cursorPosition());
    QDragEnterEvent enter(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(input.edit, &enter);
    QDragMoveEvent move(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(input.edit, &move);
    QDropEvent drop(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(input.edit, &drop);
    EXPECT_TRUE(drop.isAccepted()) << "the drop was refused";
}

void CommitFromAnInputMethod(const Input& input, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(input.focus, &commit);
}

// Some input tools hand over a whole text as one key event.
void TypeAsOneKey(const Input& input, const QString& text) {
    QTest::sendKeyEvent(QTest::Press, input.focus, Qt::Key_unknown, text, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, input.focus, Qt::Key_unknown, text, Qt::NoModifier);
}

struct Arrival {
    const char* name;
    std::function<void(const Input&, const QString&)> deliver;
};

const Arrival Arrivals[] = {
    {"Ctrl+V",
     [](const Input& input, const QString& text) {
         PasteWithKeys(input, text, Qt::Key_V, Qt::ControlModifier);
     }},
    {"Shift+Insert",
     [](const Input& input, const QString& text) {
         PasteWithKeys(input, text, Qt::Key_Insert, Qt::ShiftModifier);
     }},
    {"the context menu's Paste", PasteFromTheContextMenu},
    {"drag and drop", DropText},
    {"an input method's commit", CommitFromAnInputMethod},
    {"one key event that carries the text", TypeAsOneKey},
};

class OneLineInputTest : public Form2WindowFixture {
protected:
    std::vector<std::pair<const char*, Input>> Inputs() {
        return {{"Text1", {edit("Text1"), edit("Text1")}},
                {"Text3", {edit("Text3"), edit("Text3")}},
                {"Combo1", {combo(), combo()->lineEdit()}}};
    }

    // Each text arrives between the A and the B of "AB".
    void CheckEveryInputKeepsTheFirstLine(const Arrival& arrival) {
        struct Case {
            QString arriving;
            QString firstLine;
        };
        const Case cases[] = {
            {"Ivan\nPetrov", "Ivan"}, {"175\r\nsecond line", "175"},
            {"175\rsecond", "175"},   {"\nsecond line", ""},
            {"one line", "one line"}, {"ends in a break\n", "ends in a break"},
        };
        for (const auto& [name, input] : Inputs()) {
            for (const Case& textCase : cases) {
                SCOPED_TRACE(std::string(arrival.name) + " into " + name + ": " +
                             textCase.arriving.toStdString());
                input.focus->setFocus();
                input.edit->setText("AB");
                input.edit->setCursorPosition(1);
                arrival.deliver(input, textCase.arriving);
                EXPECT_EQ(input.edit->text(), "A" + textCase.firstLine + "B");
            }
        }
    }
};

TEST_F(OneLineInputTest, TextThatArrivesKeepsItsFirstLineOnly) {
    for (const Arrival& arrival : Arrivals)
        CheckEveryInputKeepsTheFirstLine(arrival);
}

TEST_F(OneLineInputTest, PastingTheXSelectionKeepsItsFirstLineOnly) {
    if (!QApplication::clipboard()->supportsSelection())
        GTEST_SKIP() << "this platform has no selection to paste; the test runs under X";
    CheckEveryInputKeepsTheFirstLine({"a middle click", PasteWithAMiddleClick});
    CheckEveryInputKeepsTheFirstLine(
        {"Ctrl+Shift+Insert", [](const Input& input, const QString& text) {
             QApplication::clipboard()->setText(text, QClipboard::Selection);
             QTest::keyClick(input.focus, Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier);
         }});
}

TEST_F(OneLineInputTest, APastedSecondLineNeverReachesThePerson) {
    QApplication::clipboard()->setText("Ivan\nPetrov");
    TypeInto(edit("Text1"), "");
    QTest::keyClick(edit("Text1"), Qt::Key_V, Qt::ControlModifier);
    QApplication::clipboard()->setText("175\nsecond line");
    TypeInto(edit("Text3"), "");
    QTest::keyClick(edit("Text3"), Qt::Key_V, Qt::ControlModifier);
    TypeInto(combo(), "Male");
    Click("Command1");
    ASSERT_EQ(table().PeopleCount(), 1);
    EXPECT_EQ(table().People(0).FullName, u"Ivan");
    EXPECT_EQ(table().People(0).Height, 175.0);
}

// What the clipboard (or the X selection) may offer with no text in it.
struct NoTextOffer {
    const char* name;
    std::function<void(QClipboard::Mode)> offer;
};

const NoTextOffer NoTextOffers[] = {
    {"a picture",
     [](QClipboard::Mode mode) {
         auto* data = new QMimeData;
         QImage picture(4, 4, QImage::Format_RGB32);
         picture.fill(Qt::red);
         data->setImageData(picture);
         QApplication::clipboard()->setMimeData(data, mode);
     }},
    {"nothing", [](QClipboard::Mode mode) { QApplication::clipboard()->clear(mode); }},
    {"an empty text", [](QClipboard::Mode mode) { QApplication::clipboard()->setText("", mode); }},
};

// The Paste item of the input's menu, when the menu offers it.
void TriggerMenuPaste(const Input& input) {
    const QPoint point = input.edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, point, input.edit->mapToGlobal(point));
    QApplication::sendEvent(input.edit, &menuEvent);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "no context menu";
    menu->close();
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith("&Paste") && action->isEnabled()) action->trigger();
    }
}

void DropData(const Input& input, QMimeData& data) {
    const QPoint point = PointAtPosition(input.edit, 1);
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(input.edit, &enter);
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(input.edit, &drop);
}

// A paste with nothing to paste must not replace the selected text with
// nothing, by whichever way it comes.
TEST_F(OneLineInputTest, APasteWithNoTextOnOfferChangesNothing) {
    const std::pair<const char*, std::function<void(const Input&)>> ways[] = {
        {"Ctrl+V",
         [](const Input& input) { QTest::keyClick(input.focus, Qt::Key_V, Qt::ControlModifier); }},
        {"Shift+Insert",
         [](const Input& input) {
             QTest::keyClick(input.focus, Qt::Key_Insert, Qt::ShiftModifier);
         }},
        {"the context menu's Paste", TriggerMenuPaste},
    };
    for (const auto& [name, input] : Inputs()) {
        for (const NoTextOffer& offer : NoTextOffers) {
            for (const auto& [how, paste] : ways) {
                SCOPED_TRACE(std::string(how) + " of " + offer.name + " into " + name);
                offer.offer(QClipboard::Clipboard);
                input.focus->setFocus();
                input.edit->setText("AB");
                input.edit->setSelection(1, 1);
                paste(input);
                EXPECT_EQ(input.edit->text(), "AB");
            }
        }
        SCOPED_TRACE(std::string("a drop without text into ") + name);
        for (const bool emptyText : {false, true}) {
            QMimeData data;
            if (emptyText) data.setText("");
            data.setImageData(QImage(4, 4, QImage::Format_RGB32));
            input.edit->setText("AB");
            input.edit->setSelection(1, 1);
            DropData(input, data);
            EXPECT_EQ(input.edit->text(), "AB") << "empty text " << emptyText;
        }
    }
}

TEST_F(OneLineInputTest, AMiddleClickWithNoTextSelectedChangesNothing) {
    if (!QApplication::clipboard()->supportsSelection())
        GTEST_SKIP() << "this platform has no selection to paste; the test runs under X";
    for (const auto& [name, input] : Inputs()) {
        for (const NoTextOffer& offer : NoTextOffers) {
            SCOPED_TRACE(std::string(offer.name) + " into " + name);
            input.focus->setFocus();
            input.edit->setText("AB");
            input.edit->setSelection(1, 1);
            offer.offer(QClipboard::Selection);
            QTest::mouseClick(input.edit, Qt::MiddleButton, {}, PointAtPosition(input.edit, 1));
            EXPECT_EQ(input.edit->text(), "AB");
        }
    }
}

// The program's own texts are not pastes: they are shown as they are.
TEST_F(OneLineInputTest, TheProgramsOwnTextIsKeptWhole) {
    auto& form = static_cast<QtFormWindow&>(window());
    for (const char* name : {"Text1", "Combo1"}) {
        form.SetText(name, u"first\nsecond");
        EXPECT_EQ(form.Text(name), u"first\nsecond") << name;
    }
}

} // namespace
