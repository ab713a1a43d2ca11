#include "start.h"

#include <QApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#if SAME_HEIGHT_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#include "program_identity.h"
#include "qt_form_window.h"
#include "qt_message_box.h"
#include "qt_translations.h"
#include "runtime/core/application.h"
#include "window/form2_program.h"

namespace {

// While the toolkit connects to the display, its messages are held back.
// Once connected, the held messages go out as usual. When it cannot start,
// they go out with its last words, and the program ends with a failure
// instead of an abort.
struct HeldMessage {
    QtMsgType type;
    const char* file;
    int line;
    const char* function;
    const char* category;
    QString text;
};

std::vector<HeldMessage> heldMessages;
QtMessageHandler defaultHandler = nullptr;

void ReleaseStartupMessages();

bool NoDisplayIsSet() {
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The toolkit's own words say what went wrong. Only where no display is set
// at all is it sure that there is none, and then the user is told how to run
// the program anyway.
[[noreturn]] void FailToStart(const QString& toolkitsLastWords) {
    ReleaseStartupMessages();
    std::fprintf(stderr, "%s\n", qPrintable(toolkitsLastWords));
    if (NoDisplayIsSet()) {
        std::fprintf(stderr,
                     "%s: neither DISPLAY nor WAYLAND_DISPLAY is set, so there is no display to "
                     "show the window on; run it on a desktop, or on a virtual display: "
                     "xvfb-run -a %s\n",
                     ProgramName.data(), ProgramName.data());
    }
    std::_Exit(EXIT_FAILURE);
}

void HoldStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) FailToStart(text);
    heldMessages.push_back(
        {type, context.file, context.line, context.function, context.category, text});
}

void ReleaseStartupMessages() {
    qInstallMessageHandler(defaultHandler);
    for (const HeldMessage& message : std::exchange(heldMessages, {})) {
        const QMessageLogContext context(message.file, message.line, message.function,
                                         message.category);
        qt_message_output(message.type, context, message.text);
    }
}

// The first text box needs the font configuration, and reading it (dozens
// of XML files and the font caches) is the largest single piece of the
// program's own start-up work. It needs no display, so a second thread reads
// it while the toolkit connects to the display; the toolkit's own call then
// finds it loaded. Where fonts come from elsewhere, there is nothing to start.
class FontConfigurationLoader {
public:
#if SAME_HEIGHT_HAVE_FONTCONFIG
    FontConfigurationLoader() {
        try {
            thread_ = std::thread([] { FcInit(); });
        } catch (const std::system_error&) {
            // No thread to be had: the toolkit reads it itself when needed.
        }
    }
    ~FontConfigurationLoader() { Finish(); }
    void Finish() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::thread thread_;
#else
    void Finish() {}
#endif
};

} // namespace

int RunProgram() {
    // The toolkit sees only the program's name: the command line is never
    // read, so toolkit options passed there have no effect either.
    static char name[] = "same-height";
    static char* arguments[] = {name, nullptr};
    static int argumentCount = 1;

    FontConfigurationLoader fonts;
    defaultHandler = qInstallMessageHandler(HoldStartupMessage);
    QApplication application(argumentCount, arguments);
    ReleaseStartupMessages();
    SetProgramIdentity();
    InstallToolkitTranslation(QLocale());

    fonts.Finish(); // the form's text boxes need the fonts from here on
    Form2Program<QtFormWindow> program;
    program.Window().show();
    ReturnFreedPages(); // what reading the fonts and building the form freed
    return QApplication::exec();
}
