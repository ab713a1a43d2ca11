// One whole run of the program, started the way main() starts it: fills the
// table through the real window (1001 people, then one too many, and a
// height beyond the double range), finds the pairs, and closes the window.
// It exits with 0 when every box showed what it should; under
// LeakSanitizer the exit also fails on any leak, which is what this run is
// for. With --leak-on-purpose it drops one person table on the floor, so
// that the build can show that a leak of the program's own is caught.

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <vector>

#include "message_box_answerer.h"
#include "register/person_table.h"
#include "runtime/qt/start.h"

namespace {

bool leakOnPurpose = false;
int failures = 0;
PersonTable* volatile droppedTable = nullptr;

struct Entry {
    QString name;
    QString sex;
    int height;
};

void Expect(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "FAILED: %s\n", what);
    ++failures;
}

QWidget* Form2Window() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("Form2") && widget->isVisible()) return widget;
    }
    return nullptr;
}

std::vector<QString> Click(QWidget& form, const char* button) {
    MessageBoxAnswerer answerer;
    QTest::mouseClick(form.findChild<QPushButton*>(button), Qt::LeftButton);
    return answerer.Texts();
}

std::vector<QString> Add(QWidget& form, const Entry& entry, const QString& height) {
    form.findChild<QLineEdit*>("Text1")->setText(entry.name);
    form.findChild<QLineEdit*>("Text2")->setText("1990");
    form.findChild<QComboBox*>("Combo1")->setEditText(entry.sex);
    form.findChild<QLineEdit*>("Text3")->setText(height);
    return Click(form, "Command1");
}

// Men and women by turns, over four hundred heights, so the search finds some
// hundred pairs; one name long enough for the scrollable report view.
std::vector<Entry> People() {
    std::vector<Entry> people;
    for (int i = 0; i < 1001; ++i) {
        QString name = QString("Person %1").arg(i);
        if (i == 2) name += QString(100'000, QChar(u'Ж'));
        people.push_back({name, i % 2 == 0 ? "Male" : "Female", 150 + i % 400});
    }
    return people;
}

std::vector<QString> ExpectedReports(const std::vector<Entry>& people) {
    std::vector<QString> reports;
    const std::pair<QString, QString> passes[] = {{"Male", "Найдена пара мужчин: "},
                                                  {"Female", "Найдена пара женщин: "}};
    for (const auto& [sex, prefix] : passes) {
        for (std::size_t i = 0; i < people.size(); ++i) {
            for (std::size_t k = i + 1; k < people.size(); ++k) {
                if (people[i].sex == sex && people[k].sex == sex &&
                    people[i].height == people[k].height) {
                    reports.push_back(prefix + people[i].name + "   " + people[k].name);
                }
            }
        }
    }
    return reports;
}

void DriveTheWindow() {
    QWidget* form = Form2Window();
    if (form == nullptr) {
        Expect(false, "Form2 is shown");
        QCoreApplication::exit(2);
        return;
    }
    const std::vector<Entry> people = People();
    const std::vector<QString> added{"Запись добавлена"};
    int confirmed = 0;
    for (const Entry& entry : people) {
        if (Add(*form, entry, QString::number(entry.height)) == added) ++confirmed;
    }
    Expect(confirmed == 1001, "each of 1001 adds is confirmed");

    Expect(Add(*form, {"One too many", "Male", 0}, "150") ==
               std::vector<QString>{"Run-time error '9':\n\nSubscript out of range"},
           "the 1002nd add reports error 9");
    Expect(Add(*form, {"Giant", "Male", 0}, "1e999") ==
               std::vector<QString>{"Run-time error '6':\n\nOverflow"},
           "a height beyond the double range reports error 6");

    const std::vector<QString> reports = Click(*form, "Command2");
    Expect(!reports.empty() && reports == ExpectedReports(people),
           "the search reports every pair in order");

    if (leakOnPurpose) {
        droppedTable = new PersonTable();
        droppedTable->AddPerson(u"Dropped", u"2000", u"Male", 170); // its slots are made here
        droppedTable = nullptr;
    }
    form->close(); // the last window: the program ends
}

// Drives the window once the program's message loop runs.
void ScheduleTheDrive() {
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, DriveTheWindow);
    timer->start(0);
}

// The offscreen platform says for every box that it cannot pass size hints
// on; a thousand such lines would bury a real failure.
QtMessageHandler toolkitHandler = nullptr;
void DropOffscreenNoise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text == QLatin1String("This plugin does not support propagateSizeHints()")) return;
    if (toolkitHandler != nullptr) toolkitHandler(type, context, text);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(ScheduleTheDrive)

int main(int argc, char** argv) {
    leakOnPurpose = argc > 1 && std::strcmp(argv[1], "--leak-on-purpose") == 0;
    toolkitHandler = qInstallMessageHandler(DropOffscreenNoise);
    const int exitCode = RunProgram();
    if (failures > 0 || exitCode != 0) return 1;
    std::puts("the whole run passed");
    return 0;
}
