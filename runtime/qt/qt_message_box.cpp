#include "qt_message_box.h"

#include <QAbstractButton>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "qt_text.h"
#include "runtime/core/application.h"

namespace {

// Where the style puts an icon on the OK button, every new box would get an
// icon object of its own, and the toolkit keeps the picture drawn for each
// icon object in its pixmap cache until that cache is full: about 1 KiB more
// for every box shown, up to 10 MiB, while "Найти" shows box after box. All
// boxes share one icon instead, drawn and cached once. It lives as long as
// the program, so it is never destroyed after the toolkit is gone.
void ShareOkButtonIcon(QMessageBox& box) {
    QAbstractButton* ok = box.button(QMessageBox::Ok);
    if (ok == nullptr || ok->icon().isNull()) return;
    static const QIcon* const shared = new QIcon(ok->icon());
    ok->setIcon(*shared);
}

// Building and drawing a box leaves many small freed blocks among live ones,
// and the C library keeps their pages: after the first box the program held
// some 750 KiB more than it uses. Once a box is gone, whole free pages go
// back to the system (a walk over the free blocks, well under a millisecond).
void ReturnFreedPages() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

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
    {
        QMessageBox box(icon, ToQString(ApplicationTitle), ToQString(text), QMessageBox::Ok, owner);
        // Names are shown as typed, even when they look like markup.
        box.setTextFormat(Qt::PlainText);
        if (box.text().size() > LongPromptLength) ShowPromptScrollable(box, owner);
        ShareOkButtonIcon(box);
        box.exec();
    }
    ReturnFreedPages();
}

} // namespace

void ShowMessageBox(QWidget* owner, std::u16string_view prompt) {
    ShowBox(owner, QMessageBox::NoIcon, prompt);
}

void ShowRunTimeErrorBox(QWidget* owner, const RunTimeError& error) {
    ShowBox(owner, QMessageBox::Critical, RunTimeErrorMessage(error.Number()));
}
