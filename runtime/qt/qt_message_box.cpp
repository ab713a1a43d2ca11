#include "qt_message_box.h"

#include <QAbstractButton>
#include <QIcon>
#include <QPointer>
#include <QWindow>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "box_over_form.h"
#include "program_message_box.h"
#include "qt_text.h"
#include "runtime/core/event_handler.h"

namespace {

// Where the style puts an icon on the OK button, every new box would get an
// icon object of its own, and the toolkit keeps the picture drawn for each
// icon object in its pixmap cache until that cache is full, so memory grows
// with every box while "Найти" shows box after box. All boxes share one
// icon instead, drawn and cached once. It lives as long as the program, so
// it is never destroyed after the toolkit is gone.
void ShareOkButtonIcon(QMessageBox& box) {
    QAbstractButton* ok = box.button(QMessageBox::Ok);
    if (ok == nullptr || ok->icon().isNull()) return;
    static const QIcon* const shared = new QIcon(ok->icon());
    ok->setIcon(*shared);
}

// A form has gone once it has been destroyed or closed. Closing the form
// from code, or quitting the program (as a session's end does), closes it.
bool Gone(const QPointer<QWidget>& form) { return form.isNull() || !form->isVisible(); }

// A box belongs to its form: when the form is closed, the box closes too.
void CloseWithForm(QMessageBox& box, const QWidget& form) {
    const QWindow* window = form.windowHandle();
    if (window == nullptr) return;
    QObject::connect(window, &QWindow::visibleChanged, &box, [&box](bool visible) {
        if (!visible) box.reject();
    });
}

// Shows the box and waits until it is dismissed. When the form goes
// meanwhile (the box then goes with it) or the program quits (which ends
// every wait, the box's included), throws FormGone: the handler that asked
// for the box is abandoned, and no further box opens.
void ShowBox(QWidget* owner, QMessageBox::Icon icon, std::u16string_view text) {
    const QPointer<QWidget> form(owner);
    if (Gone(form)) throw FormGone();
    const QPointer<ProgramMessageBox> box = new ProgramMessageBox(icon, ToQString(text), owner);
    ShareOkButtonIcon(*box);
    CloseWithForm(*box, *owner);
    KeepBoxOverForm(*box, *owner);
    box->exec();
    // Still on screen: its wait was ended by the program quitting, not by the user.
    const bool dismissed = !box.isNull() && !box->isVisible();
    delete box.data();
    if (!dismissed || Gone(form)) throw FormGone();
}

} // namespace

void ShowMessageBox(QWidget* owner, std::u16string_view prompt) {
    ShowBox(owner, QMessageBox::NoIcon, prompt);
}

void ShowRunTimeErrorBox(QWidget* owner, const RunTimeError& error) {
    ShowBox(owner, QMessageBox::Critical, RunTimeErrorMessage(error.Number()));
}

void ReturnFreedPages() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
