#pragma once

#include <QClipboard>
#include <QLineEdit>

// A one-line input as users of this form know it on its own platform: text
// that arrives with line breaks (a paste, a middle click, a drop, an input
// method) keeps its first line only, a paste with no text changes nothing, Alt with a key types
// nothing, and Shift+F10 opens the context menu, as the Menu key does. The program's own setText is
// not an arrival and is kept whole.
class FormLineEdit final : public QLineEdit {
public:
    explicit FormLineEdit(QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void Paste(QClipboard::Mode mode);
    void InsertKept(const QString& line);
};
