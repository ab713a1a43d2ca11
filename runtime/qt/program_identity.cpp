#include "program_identity.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include "qt_text.h"
#include "runtime/core/application.h"
#include "window_icon_pixels.h"

// The build passes these in from its one record of them, so the window, the
// desktop entry and the package cannot disagree.
#ifndef SAME_HEIGHT_VERSION
#error "SAME_HEIGHT_VERSION must be defined by the build"
#endif
#ifndef SAME_HEIGHT_DESKTOP_ID
#error "SAME_HEIGHT_DESKTOP_ID must be defined by the build"
#endif

QIcon ProgramIcon() {
    QIcon icon;
    for (const WindowIconPicture& picture : WindowIconPictures()) {
        // The image reads the build's pixels where they are, without a copy.
        const QImage image(reinterpret_cast<const uchar*>(picture.pixels), picture.size,
                           picture.size, QImage::Format_ARGB32_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

void SetProgramIdentity() {
    QApplication::setApplicationName(ToQString(ProgramName));
    QApplication::setApplicationVersion(QStringLiteral(SAME_HEIGHT_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(SAME_HEIGHT_DESKTOP_ID));
    QApplication::setWindowIcon(ProgramIcon());
}
