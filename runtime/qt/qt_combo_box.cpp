#include "qt_combo_box.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QWheelEvent>

#include "qt_line_edit.h"

namespace {

bool IsReturn(const QEvent& event) {
    if (event.type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent&>(event).key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

FormComboBox::FormComboBox(const QStringList& items, QWidget* parent) : QComboBox(parent) {
    setLineEdit(new FormLineEdit(this));
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    addItems(items);
    setCurrentIndex(-1);
    clearEditText();
    // The wheel gives no focus; Tab and a click still do.
    setFocusPolicy(Qt::StrongFocus);
    // Seen before the list's own handling, which leaves the list open on
    // Return when nothing is highlighted.
    view()->installEventFilter(this);
}

void FormComboBox::showPopup() {
    QComboBox::showPopup();
    HighlightTheItemTheTextStarts();
}

void FormComboBox::HighlightTheItemTheTextStarts() {
    const QString text = currentText();
    for (int row = 0; !text.isEmpty() && row < count(); ++row) {
        if (itemText(row).startsWith(text, Qt::CaseInsensitive)) {
            view()->setCurrentIndex(model()->index(row, modelColumn(), rootModelIndex()));
            return;
        }
    }
    view()->selectionModel()->clear();
}

void FormComboBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) return event->ignore();
    QComboBox::wheelEvent(event);
}

// Return with nothing highlighted closes the list and keeps the text.
bool FormComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view() && IsReturn(*event) && !view()->currentIndex().isValid()) {
        hidePopup();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}
