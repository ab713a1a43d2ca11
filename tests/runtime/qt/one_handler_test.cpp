#include <QAccessible>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "form2_window_fixture.h"

// While a handler runs, its box open, a press that still reaches a button
// (through the accessibility Press action that screen readers and
// automation tools use, or a click from code) is ignored, not queued: no
// "Запись добавлена" over a report, the inputs kept, the search's results
// unchanged.

namespace {

struct Press {
    const char* what;
    std::function<void(QPushButton*)> press;
};

void PressAction(QPushButton* button) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(accessible, nullptr);
    ASSERT_NE(accessible->actionInterface(), nullptr);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

const Press Presses[] = {
    {"the accessibility Press action", PressAction},
    {"QAbstractButton::click()", [](QPushButton* button) { button->click(); }},
};

// The Press action shows the button pressed for a moment and clicks as it
// comes up: a press has taken effect once neither button is down.
bool APressIsPending(QPushButton* first, QPushButton* second) {
    return first->isDown() || second->isDown();
}

class OneHandlerTest : public Form2WindowFixture {
protected:
    void AddPeople() {
        const QString people[][3] = {{"Пётр", "Male", "180"},
                                     {"Иван", "Male", "180"},
                                     {"Анна", "Female", "165"},
                                     {"Мария", "Female", "165"}};
        for (const auto& [name, sex, height] : people) {
            TypePerson(name, "1990", sex, height);
            ASSERT_EQ(Click("Command1").size(), 1u);
        }
    }

    // Clicks "Найти" and answers its boxes. While the first report is open,
    // presses both buttons and holds the box open until the presses have
    // taken effect. Returns each box's text and whether it opened over
    // another box.
    std::vector<std::pair<QString, bool>>
    FindPressingBothButtonsAtTheFirstReport(const Press& during) {
        std::vector<std::pair<QString, bool>> seen;
        QPointer<QMessageBox> firstReport;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible() || box->property("answered").toBool()) return;
            if (firstReport.isNull() && seen.empty()) {
                firstReport = box;
                during.press(button("Command1"));
                during.press(button("Command2"));
                return;
            }
            if (box == firstReport && APressIsPending(button("Command1"), button("Command2")))
                return;
            box->setProperty("answered", true);
            int open = 0;
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (qobject_cast<QMessageBox*>(widget) != nullptr && widget->isVisible()) ++open;
            }
            seen.emplace_back(box->text(), open > 1);
            box->button(QMessageBox::Ok)->click();
        });
        poll.start(1);
        QTest::mouseClick(button("Command2"), Qt::LeftButton);
        EXPECT_FALSE(firstReport.isNull() && seen.empty()) << "no report was shown";
        return seen;
    }
};

TEST_F(OneHandlerTest, APressDuringAReportIsIgnored) {
    for (const Press& during : Presses) {
        SCOPED_TRACE(during.what);
        program = std::make_unique<Form2Program<QtFormWindow>>();
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
        AddPeople();
        // A new man of the same height, typed in but not added.
        TypePerson("Новый", "2000", "Male", "180");

        const auto boxes = FindPressingBothButtonsAtTheFirstReport(during);

        std::vector<std::string> texts;
        for (const auto& [text, overAnother] : boxes) {
            texts.push_back(text.toStdString());
            EXPECT_FALSE(overAnother) << texts.back() << " opened over another box";
        }
        EXPECT_EQ(texts, (std::vector<std::string>{"Найдена пара мужчин: Пётр   Иван",
                                                   "Найдена пара женщин: Анна   Мария"}));
        EXPECT_EQ(edit("Text1")->text().toStdString(), "Новый");
        EXPECT_EQ(table().PeopleCount(), 4);

        // Not queued either: nothing runs once the search has ended...
        {
            const MessageBoxAnswerer late;
            HandleQueuedEvents();
            EXPECT_TRUE(late.Seen().empty());
        }
        // ...and the next press runs as usual.
        EXPECT_EQ(Click("Command1").at(0).text, QString("Запись добавлена"));
        EXPECT_EQ(table().PeopleCount(), 5);
    }
}

} // namespace
