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
#include "qt_translations.h"
#include "runtime/core/application.h"
#include "window/form2_program.h"

namespace {

// While the toolkit connects to the display, its messages are held back:
// when there is no display, the user gets one clear line instead of the
// toolkit's several lines and abort. Once connected, the held messages go
// out as usual.
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

void HoldStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr,
                     "%s: no display to show the window on; run it on a desktop, or under a "
                     "virtual display: xvfb-run -a %s\n",
                     ProgramName.data(), ProgramName.data());
        std::_Exit(EXIT_FAILURE);
    }
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

// The first text box needs the font configuration, and reading it is the
// largest single piece of start-up work (on a Debian desktop, some 70 XML
// files and the font caches: about 5 ms, a third of the program's own start-up
// over an empty window's). It needs no display, so a second thread reads it
// while the toolkit connects to the display; the toolkit's own call then finds
// it loaded. Where fonts come from elsewhere, there is nothing to start.
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
    return QApplication::exec();
}
