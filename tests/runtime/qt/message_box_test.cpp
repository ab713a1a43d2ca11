#include <QAbstractButton>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

#include <functional>
#include <string>

#include "form2_window_fixture.h"
#include "runtime/qt/qt_message_box.h"

// The program's message boxes over Form2, shown with prompts of every shape:
// each box fits the screen with its whole prompt readable and its OK button
// in reach, shows its title whole, and copies itself with Ctrl+C.

namespace {

// Shows the prompt in a box over the form and, once the box is on screen,
// hands it to `lookAt`, then presses its OK button.
void WithBox(QWidget& form, const QString& prompt,
             const std::function<void(QMessageBox&)>& lookAt) {
    bool looked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || looked) return;
        looked = true;
        lookAt(*box);
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(2);
    ShowMessageBox(&form, prompt.toStdU16String());
    EXPECT_TRUE(looked) << "no box was shown";
}

// The box's visible scrollable view, or null when the prompt is in its label.
QPlainTextEdit* View(const QMessageBox& box) {
    for (QPlainTextEdit* view : box.findChildren<QPlainTextEdit*>()) {
        if (view->isVisible()) return view;
    }
    return nullptr;
}

QLabel* PromptLabel(const QMessageBox& box) {
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (label->isVisible() && label->text() == box.text()) return label;
    }
    return nullptr;
}

// What must hold of every box, whatever its prompt: it stands inside the
// screen's available area, OK included, titled and modal to the form, and
// its whole prompt can be read, in its label or in its view.
void ExpectReadableAndOnScreen(QMessageBox& box, const QWidget& form, const QString& prompt) {
    const QRect available = box.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(box.frameGeometry()))
        << "box " << box.frameGeometry().width() << "x" << box.frameGeometry().height() << " at "
        << box.frameGeometry().x() << "," << box.frameGeometry().y();
    QAbstractButton* ok = box.button(QMessageBox::Ok);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(available.contains(QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size())));
    EXPECT_EQ(box.buttons().size(), 1);
    EXPECT_EQ(box.windowTitle(), QString("Same Height"));
    EXPECT_TRUE(box.isModal());
    EXPECT_EQ(box.parentWidget(), &form);
    EXPECT_EQ(box.text(), prompt);

    if (QPlainTextEdit* view = View(box)) {
        EXPECT_TRUE(view->toPlainText() == prompt) << "the view lost or changed text";
        EXPECT_TRUE(view->isReadOnly());
        EXPECT_TRUE(view->textInteractionFlags().testFlags(Qt::TextSelectableByMouse |
                                                           Qt::TextSelectableByKeyboard));
        EXPECT_TRUE(box.rect().contains(view->geometry()));
        return;
    }
    const QLabel* label = PromptLabel(box);
    ASSERT_NE(label, nullptr) << "the prompt is neither in a label nor in a view";
    EXPECT_TRUE(box.rect().contains(label->geometry()));
    // No word cut off at the side, no line cut off at the foot.
    EXPECT_LE(label->minimumSizeHint().width(), label->width());
    const int needed =
        label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
    EXPECT_LE(needed, label->height());
}

struct PromptCase {
    const char* what;
    QString prompt;
    bool inView; // whether it must be shown in the scrollable view
};

using MessageBoxTest = Form2WindowFixture;

TEST_F(MessageBoxTest, APromptThatWouldNotFitGoesIntoAScrollableView) {
    const QString report = "Найдена пара мужчин: ";
    const PromptCase cases[] = {
        {"the confirmation", "Запись добавлена", false},
        {"a report of two names of 30 letters",
         report + "Иванов-Петров Александр 000001   Иванов-Петров Александр 000002", false},
        {"1,500 line breaks, then X", QString(1500, u'\n') + "X", true},
        {"1,950 letters without a blank", report + QString(1950, u'Ж'), true},
        {"a million characters of words", report + QString("Иванов-Петров Иван ").repeated(52'632),
         true},
        // Longer than any length limit would allow, yet few lines of narrow
        // letters: decided by the room it takes, it stays an ordinary box.
        {"2,100 characters that take a few lines", QString("ii ").repeated(700), false},
    };
    for (const PromptCase& each : cases) {
        SCOPED_TRACE(each.what);
        WithBox(window(), each.prompt, [&](QMessageBox& box) {
            ExpectReadableAndOnScreen(box, window(), each.prompt);
            EXPECT_EQ(View(box) != nullptr, each.inView);
        });
    }
}

TEST_F(MessageBoxTest, TheViewScrollsThroughTheWholePrompt) {
    const QString prompt = QString(1500, u'\n') + "X";
    WithBox(window(), prompt, [&](QMessageBox& box) {
        QPlainTextEdit* view = View(box);
        ASSERT_NE(view, nullptr);
        QScrollBar* scroll = view->verticalScrollBar();
        EXPECT_GT(scroll->maximum(), 0);
        scroll->setValue(scroll->maximum());
        // The last line, X, is in sight at the end.
        const QRect last = view->cursorRect(QTextCursor(view->document()->lastBlock()));
        EXPECT_TRUE(view->viewport()->rect().contains(last));
    });
}

// Around the point where a prompt stops fitting, in lines and in the width
// of one word: whichever way each is shown, the box fits and its prompt can
// be read whole.
TEST_F(MessageBoxTest, EveryBoxFitsTheScreenNearTheEdgeOfFitting) {
    for (int lines = 5; lines <= 70; lines += 5) {
        SCOPED_TRACE(std::to_string(lines) + " lines");
        const QString prompt = QString("Строка текста\n").repeated(lines - 1) + "Последняя";
        WithBox(window(), prompt,
                [&](QMessageBox& box) { ExpectReadableAndOnScreen(box, window(), prompt); });
    }
    for (int letters = 20; letters <= 120; letters += 10) {
        SCOPED_TRACE(std::to_string(letters) + " letters in one word");
        const QString prompt = "Найдена пара женщин: " + QString(letters, u'Щ') + "   Анна";
        WithBox(window(), prompt,
                [&](QMessageBox& box) { ExpectReadableAndOnScreen(box, window(), prompt); });
    }
}

// A title bar shows the title in a bold face beside the window's icon and
// its buttons (minimize, maximize, close), each some 24 pixels wide with the
// space around it: the box must be at least that wide, or the window
// manager cuts the title short ("Sa... ght").
TEST_F(MessageBoxTest, TheBoxIsWideEnoughToShowItsTitle) {
    WithBox(window(), "Запись добавлена", [&](QMessageBox& box) {
        QFont bold = box.font();
        bold.setBold(true);
        constexpr int iconAndButtons = 4 * 24;
        EXPECT_GE(box.width(),
                  QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + iconAndButtons);
        EXPECT_TRUE(box.screen()->availableGeometry().contains(box.frameGeometry()));
    });
}

// Ctrl+C, or Ctrl+Insert, anywhere in a box puts the whole box on the
// clipboard, laid out as a message box on Windows copies itself.
TEST_F(MessageBoxTest, CtrlCCopiesTheWholeBox) {
    const QString longPrompt = QString(1500, u'\n') + "X";
    struct CopyCase {
        const char* what;
        QString prompt;
        bool fromTheView; // the keys go to the view, with nothing selected
        Qt::Key key;
    };
    const CopyCase cases[] = {
        {"Ctrl+C on OK", "Запись добавлена", false, Qt::Key_C},
        {"Ctrl+Insert on OK", "Запись добавлена", false, Qt::Key_Insert},
        {"Ctrl+C on OK beside the view", longPrompt, false, Qt::Key_C},
        {"Ctrl+C in the view, nothing selected", longPrompt, true, Qt::Key_C},
    };
    for (const CopyCase& each : cases) {
        SCOPED_TRACE(each.what);
        QApplication::clipboard()->setText("left over");
        WithBox(window(), each.prompt, [&](QMessageBox& box) {
            QWidget* target = box.button(QMessageBox::Ok);
            if (each.fromTheView) target = View(box);
            ASSERT_NE(target, nullptr);
            target->setFocus();
            QTest::keyClick(target, each.key, Qt::ControlModifier);
        });
        EXPECT_EQ(QApplication::clipboard()->text(), "---------------------------\n"
                                                     "Same Height\n"
                                                     "---------------------------\n" +
                                                         each.prompt +
                                                         "\n"
                                                         "---------------------------\n"
                                                         "OK   \n"
                                                         "---------------------------\n");
    }
}

TEST_F(MessageBoxTest, InTheViewCtrlCCopiesTheSelection) {
    const QString prompt = "Найдена пара мужчин: " + QString(1950, u'Ж') + "   Пётр";
    QApplication::clipboard()->setText("left over");
    WithBox(window(), prompt, [&](QMessageBox& box) {
        QPlainTextEdit* view = View(box);
        ASSERT_NE(view, nullptr);
        view->setFocus();
        // The user selects the name at the end with the keyboard.
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(view, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    });
    EXPECT_EQ(QApplication::clipboard()->text(), QString("Пётр"));
}

// A click on a box's text selects nothing away from OK: the keyboard stays
// on OK, so Space still closes the box, as it does in a system message box
// on Windows. In the scrollable view a click takes the focus, so that the
// view can be scrolled and read with the keys; Space there scrolls.
TEST_F(MessageBoxTest, AClickOnTheTextLeavesTheKeyboardOnOk) {
    struct ClickCase {
        const char* what;
        QString prompt;
        bool keyboardStaysOnOk;
    };
    const ClickCase cases[] = {
        {"a report", "Найдена пара мужчин: Иванов Иван   Петров Пётр", true},
        {"a name holding an ampersand", "Найдена пара мужчин: A & B   C & D", true},
        {"the long-prompt view", QString(1500, u'\n') + "X", false},
    };
    for (const ClickCase& each : cases) {
        SCOPED_TRACE(each.what);
        bool clicked = false;
        bool closedBySpace = false;
        QWidget* focusAfterClick = nullptr;
        QAbstractButton* ok = nullptr;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) return;
            if (clicked) { // Space left the box open: OK closes it.
                box->button(QMessageBox::Ok)->click();
                return;
            }
            // The box has the keyboard on OK once it is active.
            if (QApplication::focusWidget() != box->button(QMessageBox::Ok)) return;
            clicked = true;
            ok = box->button(QMessageBox::Ok);
            QWidget* text = View(*box) != nullptr ? View(*box)->viewport()
                                                  : static_cast<QWidget*>(PromptLabel(*box));
            ASSERT_NE(text, nullptr);
            QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(4, 4));
            focusAfterClick = QApplication::focusWidget();
            if (!each.keyboardStaysOnOk) return;
            QTest::keyClick(focusAfterClick != nullptr ? focusAfterClick : box, Qt::Key_Space);
            closedBySpace = !box->isVisible();
        });
        poll.start(2);
        ShowMessageBox(&window(), each.prompt.toStdU16String());
        ASSERT_TRUE(clicked) << "no box was shown";
        if (each.keyboardStaysOnOk) {
            EXPECT_EQ(focusAfterClick, ok) << "the click took the keyboard from OK";
            EXPECT_TRUE(closedBySpace) << "Space left the box open";
        } else {
            EXPECT_NE(focusAfterClick, ok) << "a click in the view leaves it unscrollable by keys";
        }
    }
}

} // namespace
