// How long the program keeps running once its form has gone while "Найти"
// shows its reports. A bench-only program on the display named by DISPLAY:
//
//   form_gone_bench [PEOPLE] [quit|close]
//
// 1. Shows Form2 and adds PEOPLE men (default 300) of height 180 through the
//    inputs and "добавить", dismissing each confirmation box.
// 2. Clicks "Найти" and, once the first report box is on screen, makes the
//    form go: the application quits (as when the session ends) or the form
//    is closed from code.
// 3. Times from there until the message loop has returned and the form is
//    destroyed, and counts the boxes opened meanwhile. A run that has not
//    ended after LIMIT seconds (FORM_GONE_BENCH_LIMIT_S, default 20) is
//    stopped and reports its rate of boxes and the time the rest of the
//    reports would take at that rate.
// Prints key=value lines.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "runtime/qt/program_identity.h"
#include "runtime/qt/qt_form_window.h"
#include "window/form2_program.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Counts the message boxes as they are shown, and tells the caller about
// each one once it is on screen.
class BoxWatcher final : public QObject {
public:
    std::atomic<long> shown{0};
    std::function<void(QMessageBox&)> onShown = [](QMessageBox&) {};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box == nullptr || event->type() != QEvent::Show) return false;
        ++shown;
        QTimer::singleShot(0, box, [this, box] { onShown(*box); });
        return false;
    }
};

void AddMan(QtFormWindow& window, int index) {
    qobject_cast<QLineEdit*>(window.Control("Text1"))->setText(QString("Man %1").arg(index));
    qobject_cast<QComboBox*>(window.Control("Combo1"))->setEditText(QStringLiteral("Male"));
    qobject_cast<QLineEdit*>(window.Control("Text3"))->setText(QStringLiteral("180"));
    qobject_cast<QPushButton*>(window.Control("Command1"))->click();
}

// Stops a run that goes on too long, reporting how far it got.
void StartWatchdog(const BoxWatcher& watcher, const std::atomic<long>& boxesWhenGone,
                   const std::atomic<bool>& gone, Clock::time_point& goneAt, long reports) {
    const char* limitText = std::getenv("FORM_GONE_BENCH_LIMIT_S");
    const int limitSeconds = limitText != nullptr ? std::atoi(limitText) : 20;
    std::thread([&, limitSeconds, reports] {
        while (!gone)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::seconds(limitSeconds));
        const long after = watcher.shown - boxesWhenGone;
        const double seconds = MillisecondsSince(goneAt) / 1000;
        std::printf("still_running_after_s=%.1f\nboxes_after_form_gone=%ld\n", seconds, after);
        if (after > 0) {
            std::printf("box_ms_each=%.2f\nprojected_rest_s=%.0f\n",
                        seconds * 1000 / static_cast<double>(after),
                        seconds * static_cast<double>(reports - 1) / static_cast<double>(after));
        }
        std::fflush(stdout);
        std::_Exit(2);
    }).detach();
}

} // namespace

int main(int argc, char** argv) {
    const int people = argc > 1 ? std::atoi(argv[1]) : 300;
    const bool quit = argc <= 2 || std::strcmp(argv[2], "close") != 0;
    QApplication application(argc, argv);
    SetProgramIdentity();
    BoxWatcher watcher;
    application.installEventFilter(&watcher);

    auto program = std::make_unique<Form2Program<QtFormWindow>>();
    QtFormWindow& window = program->Window();
    window.show();

    std::atomic<bool> gone{false};
    std::atomic<long> boxesWhenGone{0};
    Clock::time_point goneAt;
    const long reports = static_cast<long>(people) * (people - 1) / 2;
    bool searching = false;
    watcher.onShown = [&](QMessageBox& box) {
        if (!searching) return box.button(QMessageBox::Ok)->click();
        if (gone) return;
        boxesWhenGone = watcher.shown.load();
        goneAt = Clock::now();
        gone = true;
        if (quit) {
            QCoreApplication::quit();
        } else {
            window.close();
        }
    };
    QTimer::singleShot(0, &window, [&] {
        for (int i = 0; i < people; ++i)
            AddMan(window, i);
        searching = true;
        StartWatchdog(watcher, boxesWhenGone, gone, goneAt, reports);
        qobject_cast<QPushButton*>(window.Control("Command2"))->click();
    });
    QApplication::exec();
    program.reset();
    std::printf("people=%d\nreports=%ld\nform_gone_by=%s\n", people, reports,
                quit ? "quit" : "close");
    std::printf("boxes_after_form_gone=%ld\nrunning_after_form_gone_ms=%.2f\n",
                watcher.shown - boxesWhenGone, MillisecondsSince(goneAt));
    return 0;
}
