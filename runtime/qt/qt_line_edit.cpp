#include "qt_line_edit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <limits>
#include <optional>

#include "qt_text.h"
#include "runtime/core/input_rules.h"

namespace {

// What the input keeps of a text that arrives (runtime/core/input_rules.h):
// its first line, or nothing when no text is on offer.
std::optional<QString> Kept(const QString& offered) {
    const std::optional<std::u16string_view> kept = KeptOfArrivingText(
        std::u16string_view(reinterpret_cast<const char16_t*>(offered.constData()),
                            static_cast<std::size_t>(offered.size())));
    if (!kept) return std::nullopt;
    return ToQString(*kept);
}

bool HasLineBreak(const QString& text) { return text.contains(u'\r') || text.contains(u'\n'); }

// Alt with a letter, digit or sign is a command, never text; Alt with an
// editing key still edits. Ctrl+Alt is left alone: Windows keyboards report
// AltGr, which types the letters of many layouts, that way.
bool IsAltCommand(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier) &&
           !event.text().isEmpty() && event.text().front().isPrint();
}

bool IsShiftF10(const QKeyEvent& event) {
    return event.key() == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier;
}

// On X11 Ctrl+Shift+Insert pastes the selection rather than the clipboard.
QClipboard::Mode PasteSource(const QKeyEvent& event) {
    const bool selectionKey = event.key() == Qt::Key_Insert &&
                              event.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
    return selectionKey && QGuiApplication::clipboard()->supportsSelection()
               ? QClipboard::Selection
               : QClipboard::Clipboard;
}

// Takes the toolkit's Paste item of the edit's menu off the toolkit's own
// paste; true for that item only. Depending on the toolkit's version the
// item is connected by name (as in Qt 6.4) or by member function.
bool DetachToolkitPaste(QAction* action, QLineEdit* edit) {
    return QObject::disconnect(action, &QAction::triggered, edit, &QLineEdit::paste) ||
           QObject::disconnect(action, SIGNAL(triggered()), edit, SLOT(paste()));
}

// Opens the focused widget's context menu at its text cursor, the way the
// toolkit does for the Menu key.
void OpenContextMenuFromKeyboard(QWidget* fallback, Qt::KeyboardModifiers modifiers) {
    QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr) focused = fallback;
    const QPoint place = focused->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, place, focused->mapToGlobal(place),
                                modifiers);
    QApplication::sendEvent(focused, &menuEvent);
}

} // namespace

FormLineEdit::FormLineEdit(QWidget* parent) : QLineEdit(parent) {
    // Texts of any length: the user's paste is never cut short.
    setMaxLength(std::numeric_limits<int>::max());
}

void FormLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        Paste(PasteSource(*event));
        event->accept();
    } else if (IsShiftF10(*event)) {
        OpenContextMenuFromKeyboard(this, event->modifiers());
        event->accept();
    } else if (IsAltCommand(*event)) {
        event->ignore();
    } else if (HasLineBreak(event->text())) {
        QKeyEvent firstLine(event->type(), event->key(), event->modifiers(),
                            Kept(event->text()).value_or(QString()), event->isAutoRepeat(),
                            static_cast<quint16>(event->count()));
        QLineEdit::keyPressEvent(&firstLine);
        event->setAccepted(firstLine.isAccepted());
    } else {
        QLineEdit::keyPressEvent(event);
    }
}

// A middle click pastes the X selection, where there is one; the toolkit's
// own paste when the selection is one line of text.
void FormLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() != Qt::MiddleButton || !clipboard->supportsSelection())
        return QLineEdit::mouseReleaseEvent(event);
    const QString offered = clipboard->text(QClipboard::Selection);
    const std::optional<QString> kept = Kept(offered);
    if (kept && kept->size() == offered.size()) return QLineEdit::mouseReleaseEvent(event);
    if (kept) {
        deselect();
        InsertKept(*kept);
    }
    event->accept();
}

// The toolkit's own menu, whose Paste pastes as Ctrl+V does.
void FormLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (DetachToolkitPaste(action, this))
            connect(action, &QAction::triggered, this, [this] { Paste(QClipboard::Clipboard); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void FormLineEdit::dropEvent(QDropEvent* event) {
    const QString offered = event->mimeData()->text();
    const std::optional<QString> kept = Kept(offered);
    if (!kept) return event->ignore();
    if (kept->size() == offered.size()) return QLineEdit::dropEvent(event);
    QMimeData firstLine;
    firstLine.setText(*kept);
    QDropEvent drop(event->position(), event->possibleActions(), &firstLine, event->buttons(),
                    event->modifiers());
    drop.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&drop);
    event->setDropAction(drop.dropAction());
    event->setAccepted(drop.isAccepted());
}

void FormLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!HasLineBreak(event->commitString())) return QLineEdit::inputMethodEvent(event);
    QInputMethodEvent firstLine(event->preeditString(), event->attributes());
    firstLine.setCommitString(Kept(event->commitString()).value_or(QString()),
                              event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&firstLine);
    event->setAccepted(firstLine.isAccepted());
}

// A paste without line breaks is the toolkit's own, one step to undo; a
// paste with no text on offer changes nothing.
void FormLineEdit::Paste(QClipboard::Mode mode) {
    const QString offered = QGuiApplication::clipboard()->text(mode);
    const std::optional<QString> kept = Kept(offered);
    if (!kept) return;
    if (mode == QClipboard::Clipboard && kept->size() == offered.size()) return paste();
    InsertKept(*kept);
}

void FormLineEdit::InsertKept(const QString& line) {
    if (!isReadOnly() && (!line.isEmpty() || hasSelectedText())) insert(line);
}
