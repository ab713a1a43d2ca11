#include <QApplication>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "caption_fit.h"
#include "runtime/qt/qt_form_window.h"
#include "window/form2_description.h"
#include "window/form2_program.h"

// Form2 on a screen of twice the usual density (the toolkit's scale factor
// 2, which the build gives the test program's main): it must grow as a whole, every rectangle twice
// as large in device pixels, with nothing moved against the rest.
namespace {

constexpr double Scale = 2.0;

QString Name(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// A control's rectangle in the form's pixels at the usual density: its twips
// at 15 a pixel, moved by the containers it sits in.
QRect InFormPixels(const FormDescription& form, std::string_view name) {
    for (const ControlDescription& control : form.controls) {
        if (control.name != name) continue;
        const auto pixels = [](int twips) { return static_cast<int>(std::lround(twips / 15.0)); };
        QRect rect(pixels(control.rect.left), pixels(control.rect.top), pixels(control.rect.width),
                   pixels(control.rect.height));
        if (control.container != form.name)
            rect.translate(InFormPixels(form, control.container).topLeft());
        return rect;
    }
    ADD_FAILURE() << "no control " << name;
    return {};
}

QRect Scaled(const QRect& rect, double scale) {
    return {static_cast<int>(rect.x() * scale), static_cast<int>(rect.y() * scale),
            static_cast<int>(rect.width() * scale), static_cast<int>(rect.height() * scale)};
}

class Form2AtScaleTwo : public ::testing::Test {
protected:
    void SetUp() override {
        program = std::make_unique<Form2Program<QtFormWindow>>();
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
        ASSERT_EQ(window().devicePixelRatio(), Scale);
    }

    QWidget& window() { return program->Window(); }

    std::unique_ptr<Form2Program<QtFormWindow>> program;
};

TEST_F(Form2AtScaleTwo, EveryRectangleDoublesInDevicePixels) {
    EXPECT_EQ(window().grab().size(), QSize(610, 554));
    for (const ControlDescription& control : Form2Description().controls) {
        SCOPED_TRACE(std::string(control.name));
        auto* widget = window().findChild<QWidget*>(Name(control.name));
        ASSERT_NE(widget, nullptr);
        const QRect device = Scaled(QRect(widget->mapTo(&window(), QPoint(0, 0)), widget->size()),
                                    widget->devicePixelRatio());
        EXPECT_EQ(device, Scaled(InFormPixels(Form2Description(), control.name), Scale));
        // What the control draws covers that many device pixels.
        EXPECT_EQ(widget->grab().size(), device.size());
    }
}

TEST_F(Form2AtScaleTwo, EveryCaptionStillFits) {
    const auto clipped = ClippedCaptions(window(), Form2Description());
    EXPECT_TRUE(clipped.empty())
        << QStringList(clipped.begin(), clipped.end()).join('\n').toStdString();
}

} // namespace
