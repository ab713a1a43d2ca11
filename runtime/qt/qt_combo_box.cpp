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
    // The items go in before the line edit: the first item added to an
    // empty combo box becomes its current one, and a line edit would lay
    // out and shape that text at once, only to be emptied again.
    addItems(items);
    setCurrentIndex(-1);
    setLineEdit(new FormLineEdit(this));
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    clearEditText();
    // The wheel gives no focus; Tab and a click still do.
    setFocusPolicy(Qt::StrongFocus);
}

void FormComboBox::showPopup() {
    // Seen before the list's own handling, which leaves the list open on
    // Return when nothing is highlighted. Watched from its first opening:
    // asking for the list earlier would build its popup and view at start.
    // Installing the filter again only keeps it first.
    view()->installEventFilter(this);
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
