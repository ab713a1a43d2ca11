#include "start.h"

#include <QApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "form2_program.h"
#include "program_identity.h"
#include "runtime/application.h"

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

} // namespace

int RunProgram() {
    // The toolkit sees only the program's name: the command line is never
    // read, so toolkit options passed there have no effect either.
    static char name[] = "same-height";
    static char* arguments[] = {name, nullptr};
    static int argumentCount = 1;

    defaultHandler = qInstallMessageHandler(HoldStartupMessage);
    QApplication application(argumentCount, arguments);
    ReleaseStartupMessages();
    SetProgramIdentity();

    Form2Program program;
    program.Window().show();
    return QApplication::exec();
}
