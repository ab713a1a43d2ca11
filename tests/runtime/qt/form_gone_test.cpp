#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

#include "form2_window_fixture.h"

// The form goes while "Найти" shows the first of 500,500 reports (a full
// table of men of one height): the application quits, as when the session
// ends, or the form is closed or destroyed from code. The search is then
// abandoned at that box: no further box, no error box, and the handler
// returns at once, so the program can end.

namespace {

// Watches every message box the program shows: dismisses the confirmations
// of the adds at once, counts the boxes shown once the form has gone, and
// tells the test when the first report is on screen.
class BoxWatch final : public QObject {
public:
    BoxWatch() { QApplication::instance()->installEventFilter(this); }
    ~BoxWatch() override { QApplication::instance()->removeEventFilter(this); }
    BoxWatch(const BoxWatch&) = delete;
    BoxWatch& operator=(const BoxWatch&) = delete;

    bool searching = false;
    bool formGone = false;
    int boxesAfterFormGone = 0;
    std::function<void()> onFirstReport;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box == nullptr || event->type() != QEvent::Show) return false;
        if (formGone) {
            ++boxesAfterFormGone;
            // Before the form going ended the search, it showed every one of
            // the other reports: fail now rather than after hours.
            if (boxesAfterFormGone > 2) {
                ADD_FAILURE() << "boxes go on opening after the form has gone: \""
                              << box->text().toStdString() << "\"";
                std::fflush(stdout);
                std::_Exit(EXIT_FAILURE);
            }
            return false;
        }
        if (!searching) {
            QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
        } else if (onFirstReport) {
            QTimer::singleShot(0, box, std::exchange(onFirstReport, nullptr));
        }
        return false;
    }
};

class FormGoneTest : public Form2WindowFixture {
protected:
    void AddMenOfOneHeight(int count) {
        for (int i = 0; i < count; ++i) {
            edit("Text1")->setText(QString("Man %1").arg(i));
            combo()->setEditText("Male");
            edit("Text3")->setText("180");
            button("Command1")->click();
        }
        ASSERT_EQ(table().PeopleCount(), count);
    }

    // Fills the table, clicks "Найти" inside the application's own message
    // loop, and makes the form go once the first report is on screen.
    // Returns whether the click's handler returned.
    bool FindAndMakeTheFormGo(const std::function<void()>& makeItGo) {
        AddMenOfOneHeight(1001);
        watch.searching = true;
        watch.onFirstReport = [&] {
            watch.formGone = true;
            makeItGo();
        };
        bool handlerReturned = false;
        QTimer::singleShot(0, [&] {
            button("Command2")->click();
            handlerReturned = true;
            // A destroyed form does not quit the test's application.
            QCoreApplication::quit();
        });
        QApplication::exec();
        return handlerReturned;
    }

    BoxWatch watch;
};

TEST_F(FormGoneTest, TheApplicationQuittingEndsTheSearchAtItsBox) {
    EXPECT_TRUE(FindAndMakeTheFormGo([] { QCoreApplication::quit(); }));
    EXPECT_EQ(watch.boxesAfterFormGone, 0);
    EXPECT_FALSE(window().isVisible());
}

TEST_F(FormGoneTest, ClosingTheFormEndsTheSearchAtItsBox) {
    EXPECT_TRUE(FindAndMakeTheFormGo([this] { window().close(); }));
    EXPECT_EQ(watch.boxesAfterFormGone, 0);
    EXPECT_FALSE(window().isVisible());
}

TEST_F(FormGoneTest, DestroyingTheFormEndsTheSearchAtItsBox) {
    EXPECT_TRUE(FindAndMakeTheFormGo([this] { program.reset(); }));
    EXPECT_EQ(watch.boxesAfterFormGone, 0);
    EXPECT_EQ(program, nullptr);
}

} // namespace
