#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QSize>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

#include "caption_fit.h"
#include "runtime/qt/program_identity.h"
#include "runtime/qt/qt_form_window.h"
#include "window/form2_description.h"
#include "window/form2_program.h"

namespace {

// The sans-serif font a stock Debian desktop resolves to; the package lists
// install it, so the measures below do not depend on what else is there.
const QString StockSansSerif = "DejaVu Sans";

// Sets the application's font as a desktop's settings do, for one scope.
class DesktopFont {
public:
    explicit DesktopFont(const QFont& font) : saved_(QApplication::font()) {
        QApplication::setFont(font);
    }
    ~DesktopFont() { QApplication::setFont(saved_); }

private:
    QFont saved_;
};

QString Lines(const std::vector<QString>& lines) {
    return QStringList(lines.begin(), lines.end()).join('\n');
}

TEST(Form2Look, TheStockDesktopFontIsTheOneTheLayoutIsMeasuredWith) {
    ASSERT_TRUE(QFontDatabase::hasFamily(StockSansSerif)) << "install fonts-dejavu-core";
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), StockSansSerif);
}

// The form takes the desktop's family but its own size, so a desktop set to a
// larger size or another family still shows every caption whole.
TEST(Form2Look, EveryCaptionFitsWhateverTheDesktopFont) {
    struct Desktop {
        QString family;
        int pointSize;
    };
    const Desktop desktops[] = {
        {StockSansSerif, 9},  // the toolkit's own default
        {StockSansSerif, 11}, // GNOME's interface font size
        {StockSansSerif, 14}, // large print
        {"DejaVu Serif", 11}, // a desktop that prefers a serif face
    };
    for (const Desktop& desktop : desktops) {
        SCOPED_TRACE(QString("%1 %2 pt").arg(desktop.family).arg(desktop.pointSize).toStdString());
        DesktopFont scope(QFont(desktop.family, desktop.pointSize));
        Form2Program<QtFormWindow> program;
        QWidget& window = program.Window();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

        EXPECT_EQ(QFontInfo(window.font()).family(), desktop.family);
        EXPECT_EQ(window.font().pointSize(), 8);
        const auto clipped = ClippedCaptions(window, Form2Description());
        EXPECT_TRUE(clipped.empty()) << Lines(clipped).toStdString();
    }
}

// A desktop may give some kinds of widget a font of their own (message
// boxes, tooltips, menus); building the form leaves those as they were, so
// the boxes shown later still use the desktop's.
TEST(Form2Look, BuildingTheFormKeepsTheDesktopsFontsForKindsOfWidget) {
    const QFont boxFont("DejaVu Serif", 13);
    QApplication::setFont(boxFont, "QMessageBox");
    const QFont desktopFont = QApplication::font();
    {
        Form2Program<QtFormWindow> program;
        EXPECT_EQ(QApplication::font("QMessageBox"), boxFont);
        EXPECT_EQ(QApplication::font(), desktopFont);
    }
    QApplication::setFont(desktopFont); // forgets the kinds' fonts again
}

TEST(ProgramIdentity, NameVersionDesktopEntryAndIcon) {
    SetProgramIdentity();
    EXPECT_EQ(QApplication::applicationName(), QString("same-height"));
    EXPECT_EQ(QApplication::applicationVersion(), QString("1.00"));
    EXPECT_EQ(QApplication::desktopFileName(), QString("org.sameheight.SameHeight"));

    // The icon holds the picture the build rendered at each size a title bar,
    // a task switcher or their HiDPI doubles ask for; the picture is a tile
    // that covers most of its square.
    const QIcon icon = QApplication::windowIcon();
    const QList<QSize> sizes = {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}};
    EXPECT_EQ(icon.availableSizes(), sizes);
    for (const QSize size : sizes) {
        SCOPED_TRACE(size.width());
        const QImage image = icon.pixmap(size, 1.0).toImage();
        ASSERT_EQ(image.size(), size);
        int opaque = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                if (qAlpha(image.pixel(x, y)) == 255) ++opaque;
            }
        }
        EXPECT_GT(opaque, size.width() * size.height() / 2);
    }
}

} // namespace
