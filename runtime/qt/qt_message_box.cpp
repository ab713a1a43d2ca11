#include "qt_message_box.h"

#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <algorithm>

#include "qt_text.h"
#include "runtime/application.h"

namespace {

// A prompt longer than this (a pasted name can run to a million characters)
// would make the box taller than any screen, with its OK button out of
// reach, and laying it out as a label takes seconds.
constexpr qsizetype LongPromptLength = 2000;

// The box's own label, the one that shows its text.
QLabel* PromptLabel(const QMessageBox& box) {
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (label->text() == box.text()) return label;
    }
    return nullptr;
}

// Puts a long prompt into a read-only, scrollable view of a size that fits
// the screen, in the place of the box's label. The box keeps the whole text
// as its own, and the user can scroll through it, select it and copy it.
void ShowPromptScrollable(QMessageBox& box, QWidget* owner) {
    QLabel* label = PromptLabel(box);
    if (label == nullptr || box.layout() == nullptr) return;

    auto* view = new QPlainTextEdit(&box);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view->setWordWrapMode(QTextOption::WrapAnywhere);
    view->setPlainText(box.text());

    const QScreen* screen = owner != nullptr ? owner->screen() : box.screen();
    const QSize available = screen->availableGeometry().size();
    view->setFixedSize(std::min(600, available.width() * 2 / 3),
                       std::min(400, available.height() / 2));

    delete box.layout()->replaceWidget(label, view);
    label->hide();
}

void ShowBox(QWidget* owner, QMessageBox::Icon icon, std::u16string_view text) {
    QMessageBox box(icon, ToQString(ApplicationTitle), ToQString(text), QMessageBox::Ok, owner);
    // Names are shown as typed, even when they look like markup.
    box.setTextFormat(Qt::PlainText);
    if (box.text().size() > LongPromptLength) ShowPromptScrollable(box, owner);
    box.exec();
}

} // namespace

void ShowMessageBox(QWidget* owner, std::u16string_view prompt) {
    ShowBox(owner, QMessageBox::NoIcon, prompt);
}

void ShowRunTimeErrorBox(QWidget* owner, const RunTimeError& error) {
    ShowBox(owner, QMessageBox::Critical, RunTimeErrorMessage(error.Number()));
}
