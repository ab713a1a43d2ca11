// Form2 with a full table, driven through its real widgets and real message
// boxes on the display named by DISPLAY. A bench-only program: it builds the
// same Form2Program the real program shows, and plays the user.
//
//   full_table_bench
//
// 1. Shows the window and waits until it is drawn: the empty program.
// 2. Adds 1001 men of height 180 with names of 30 characters, each through
//    the inputs and a click on "добавить", dismissing every confirmation box
//    once it is on screen.
// 3. Clicks "Найти" and times the click until the first of the 500,500
//    report boxes is on screen, then dismisses 1,000 boxes in a row, reading
//    the resident memory as it goes, and times them and counts the page
//    faults they cause.
// Prints key=value lines; memory in KiB as /proc/self/status shows it.
// With FULL_TABLE_BENCH_SMAPS=FOLDER it also keeps the memory map of each
// step (empty, one_person, full_table) in FOLDER.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "runtime/qt/program_identity.h"
#include "runtime/qt/qt_form_window.h"
#include "window/form2_program.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int FullTable = 1001;
constexpr int BoxesDismissedInARow = 1000;

long ResidentKib() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long kib = -1;
    while (status >> key) {
        if (key == "VmRSS:") status >> kib;
        status.ignore(1 << 16, '\n');
    }
    return kib;
}

// With FULL_TABLE_BENCH_SMAPS set to a folder, keeps a copy of the memory
// map at each step there, to see which mappings grew.
void KeepMemoryMap(const char* step) {
    const char* folder = std::getenv("FULL_TABLE_BENCH_SMAPS");
    if (folder == nullptr) return;
    std::ifstream smaps("/proc/self/smaps");
    std::ofstream copy(std::string(folder) + "/" + step + ".smaps");
    copy << smaps.rdbuf();
}

// Runs the event loop for a while, so that what was shown is drawn and
// the toolkit's deferred work is done before memory is read.
void Settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// A name of 30 characters, different for every index.
QString NameOf(int index) {
    return QStringLiteral("Иванов-Петров Александр %1").arg(index, 6, 10, QLatin1Char('0'));
}

// Presses OK on every message box once the display has exposed it and it
// has been drawn, and tells the caller about each box first.
class BoxDismisser final : public QObject {
public:
    std::function<void(QMessageBox&)> onShown = [](QMessageBox&) {};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Expose) return false;
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box->windowHandle() != watched || !box->windowHandle()->isExposed())
            return false;
        // The box draws itself while this expose event is handled; the
        // queued call runs once that is done.
        QTimer::singleShot(0, box, [this, box] {
            onShown(*box);
            box->button(QMessageBox::Ok)->click();
        });
        return false;
    }
};

void Type(QtFormWindow& window, const char* control, const QString& text) {
    QWidget* widget = window.Control(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->setText(text);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) combo->setEditText(text);
}

void AddPerson(QtFormWindow& window, int index) {
    Type(window, "Text1", NameOf(index));
    Type(window, "Text2", QStringLiteral("1990"));
    Type(window, "Combo1", QStringLiteral("Male"));
    Type(window, "Text3", QStringLiteral("180"));
    static_cast<QPushButton*>(window.Control("Command1"))->click();
}

long MinorPageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

void Print(const char* key, double value) { std::printf("%s=%.2f\n", key, value); }
void Print(const char* key, long value) { std::printf("%s=%ld\n", key, value); }

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    SetProgramIdentity(); // as the program does: the boxes get its icon too
    BoxDismisser dismisser;
    application.installEventFilter(&dismisser);

    Form2Program<QtFormWindow> program;
    program.Window().show();
    Settle(500);
    const long emptyKib = ResidentKib();
    KeepMemoryMap("empty");
    Print("empty_rss_kib", emptyKib);

    AddPerson(program.Window(), 0);
    Settle(300);
    const long onePersonKib = ResidentKib();
    KeepMemoryMap("one_person");
    const auto addsStart = Clock::now();
    for (int i = 1; i < FullTable; ++i)
        AddPerson(program.Window(), i);
    const double addsMs =
        std::chrono::duration<double, std::milli>(Clock::now() - addsStart).count();
    Settle(300);
    const long fullKib = ResidentKib();
    KeepMemoryMap("full_table");
    if (program.Form().Table().PeopleCount() != FullTable) {
        std::fprintf(stderr, "full_table_bench: the table holds %d people, not %d\n",
                     program.Form().Table().PeopleCount(), FullTable);
        return 1;
    }
    Print("one_person_rss_kib", onePersonKib);
    Print("full_table_rss_kib", fullKib);
    Print("full_table_growth_kib", fullKib - emptyKib);
    Print("table_growth_kib", fullKib - onePersonKib);
    Print("add_ms_each", addsMs / (FullTable - 1));

    // From here every box is a report: time the first, then read memory
    // after every hundredth box dismissed, and stop after the thousandth.
    int boxesShown = 0;
    std::vector<long> residentKib;
    Clock::time_point clicked;
    Clock::time_point firstBoxShown;
    long faultsAtFirstBox = 0;
    dismisser.onShown = [&](QMessageBox& box) {
        ++boxesShown;
        if (boxesShown == 1) {
            Print("first_box_ms",
                  std::chrono::duration<double, std::milli>(Clock::now() - clicked).count());
            const QString expected = QStringLiteral("Найдена пара мужчин: ") + NameOf(0) +
                                     QStringLiteral("   ") + NameOf(1);
            if (box.text() != expected) {
                std::fprintf(stderr, "full_table_bench: the first box reads \"%s\"\n",
                             qPrintable(box.text()));
                std::_Exit(1);
            }
            firstBoxShown = Clock::now();
            faultsAtFirstBox = MinorPageFaults();
        }
        if (boxesShown % 100 == 1) residentKib.push_back(ResidentKib());
        if (boxesShown == BoxesDismissedInARow + 1) {
            Print("box_ms_each",
                  std::chrono::duration<double, std::milli>(Clock::now() - firstBoxShown).count() /
                      BoxesDismissedInARow);
            Print("box_minor_faults_each",
                  (MinorPageFaults() - faultsAtFirstBox) / BoxesDismissedInARow);
            std::printf("box_rss_kib=");
            for (long kib : residentKib)
                std::printf("%ld ", kib);
            std::printf("\n");
            Print("boxes_growth_kib", residentKib.back() - residentKib.front());
            Print("boxes_growth_after_100_kib", residentKib.back() - residentKib[1]);
            std::fflush(stdout);
            // The other 499,500 reports are not waited for.
            std::_Exit(0);
        }
    };
    clicked = Clock::now();
    static_cast<QPushButton*>(program.Window().Control("Command2"))->click();
    std::fprintf(stderr, "full_table_bench: the search ended after %d boxes\n", boxesShown);
    return 1;
}
