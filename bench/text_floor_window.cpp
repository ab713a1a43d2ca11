// The text floor for the start-up and memory figures: the least a Qt Widgets
// program does to show a window like Form2 with text in it, the empty floor
// window (same size and caption) holding one label with the first Cyrillic
// caption of the form, in the form's 8-point font. Every cost of finding,
// loading and shaping a font is paid here as in the program.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <cmath>

#include "window/form2_description.h"

namespace {

int TwipsToPixels(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

const ControlDescription& FirstLabel(const FormDescription& form) {
    for (const ControlDescription& control : form.controls) {
        if (control.kind == ControlKind::Label) return control;
    }
    return form.controls.front();
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const FormDescription& form = Form2Description();
    QWidget window;
    window.setWindowTitle(ToQString(form.caption));
    window.setFixedSize(TwipsToPixels(form.clientWidth), TwipsToPixels(form.clientHeight));
    QFont font = QApplication::font();
    font.setPointSize(8);
    window.setFont(font);
    const ControlDescription& label = FirstLabel(form);
    QLabel text(ToQString(label.caption), &window);
    // Sized to its text, as a window that lays out what it shows: the text is
    // measured, and so the fonts found and loaded, before the window maps.
    text.move(TwipsToPixels(label.rect.left), TwipsToPixels(label.rect.top));
    text.adjustSize();
    window.show();
    return QApplication::exec();
}
