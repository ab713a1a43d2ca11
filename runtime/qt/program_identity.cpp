#include "program_identity.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

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

QIcon ProgramIcon() {
    // Drawn from the scalable picture here rather than by an icon plug-in, so
    // the icon shows wherever the program's own libraries are installed.
    QSvgRenderer picture(QStringLiteral(":/" SAME_HEIGHT_DESKTOP_ID ".svg"));
    QIcon icon;
    if (!picture.isValid()) return icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        picture.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void SetProgramIdentity() {
    QApplication::setApplicationName(ToQString(ProgramName));
    QApplication::setApplicationVersion(QStringLiteral(SAME_HEIGHT_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(SAME_HEIGHT_DESKTOP_ID));
    QApplication::setWindowIcon(ProgramIcon());
}
