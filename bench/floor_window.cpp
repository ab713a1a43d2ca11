// The floor for the start-up and memory figures: the least a Qt Widgets
// program does to show a window like Form2, one empty window of the same
// size and caption, and nothing in it.
#include <QApplication>
#include <QString>
#include <QWidget>
#include <cmath>

#include "window/form2_description.h"

namespace {

int TwipsToPixels(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const FormDescription& form = Form2Description();
    QWidget window;
    window.setWindowTitle(
        QString::fromUtf16(form.caption.data(), static_cast<qsizetype>(form.caption.size())));
    window.setFixedSize(TwipsToPixels(form.clientWidth), TwipsToPixels(form.clientHeight));
    window.show();
    return QApplication::exec();
}
