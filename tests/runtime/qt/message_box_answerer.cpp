#include "message_box_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>

MessageBoxAnswerer::MessageBoxAnswerer() {
    connect(&timer_, &QTimer::timeout, this, &MessageBoxAnswerer::AnswerOpenBox);
    timer_.start(2);
}

std::vector<QString> MessageBoxAnswerer::Texts() const {
    std::vector<QString> texts;
    for (const SeenBox& box : seen_)
        texts.push_back(box.text);
    return texts;
}

namespace {

// The text a user can read in the box: in its scrollable view when it has
// one, otherwise in its visible label that shows the box's text.
QString ShownText(const QMessageBox& box) {
    for (const QPlainTextEdit* view : box.findChildren<QPlainTextEdit*>()) {
        if (view->isVisible()) return view->toPlainText();
    }
    for (const QLabel* label : box.findChildren<QLabel*>()) {
        if (label->isVisible() && label->text() == box.text()) return label->text();
    }
    return {};
}

} // namespace

void MessageBoxAnswerer::AnswerOpenBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || box->property("answered").toBool()) return;
    box->setProperty("answered", true);

    int open = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox*>(widget) != nullptr && widget->isVisible()) ++open;
    }
    seen_.push_back({box->windowTitle(), box->text(), ShownText(*box), box->icon(),
                     box->textFormat(), static_cast<int>(box->buttons().size()), open,
                     box->frameGeometry(), box->screen()->availableGeometry()});
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
        ok->click();
    } else {
        box->done(0); // a box without OK: close it so the test can go on and fail
    }
}
