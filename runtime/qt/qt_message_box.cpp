#include "qt_message_box.h"

#include <QMessageBox>

#include "qt_text.h"
#include "runtime/application.h"

namespace {

void ShowBox(QWidget* owner, QMessageBox::Icon icon, std::u16string_view text) {
    QMessageBox box(icon, ToQString(ApplicationTitle), ToQString(text), QMessageBox::Ok, owner);
    // Names are shown as typed, even when they look like markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void ShowMessageBox(QWidget* owner, std::u16string_view prompt) {
    ShowBox(owner, QMessageBox::NoIcon, prompt);
}

void ShowRunTimeErrorBox(QWidget* owner, const RunTimeError& error) {
    ShowBox(owner, QMessageBox::Critical, RunTimeErrorMessage(error.Number()));
}
