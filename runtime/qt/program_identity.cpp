#include "program_identity.h"

#include <QApplication>
#include <QSize>
#include <QString>

#include "qt_text.h"
#include "runtime/core/application.h"

// The build passes these in from its one record of them, so the window, the
// desktop entry and the package cannot disagree.
#ifndef SAME_HEIGHT_VERSION
#error "SAME_HEIGHT_VERSION must be defined by the build"
#endif
#ifndef SAME_HEIGHT_DESKTOP_ID
#error "SAME_HEIGHT_DESKTOP_ID must be defined by the build"
#endif
#ifndef SAME_HEIGHT_WINDOW_ICON_SIZES
#error "SAME_HEIGHT_WINDOW_ICON_SIZES must be defined by the build"
#endif

QIcon ProgramIcon() {
    // The build renders the picture at each size into the program's resources
    // as PNG, which the toolkit reads without a plug-in. A size in between is
    // scaled down from the next larger one.
    QIcon icon;
    for (const int size : {SAME_HEIGHT_WINDOW_ICON_SIZES})
        icon.addFile(QStringLiteral(":/icon/%1.png").arg(size), QSize(size, size));
    return icon;
}

void SetProgramIdentity() {
    QApplication::setApplicationName(ToQString(ProgramName));
    QApplication::setApplicationVersion(QStringLiteral(SAME_HEIGHT_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(SAME_HEIGHT_DESKTOP_ID));
    QApplication::setWindowIcon(ProgramIcon());
}
