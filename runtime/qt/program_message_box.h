#pragma once

#include <QMessageBox>
#include <QString>

class QPlainTextEdit;
class QScreen;

// A message box of the program: the application's title, the prompt as
// plain text and one OK button, modal to the form that owns it.
// - A prompt that would not fit on the screen (a pasted name can be any
//   text) is shown in a read-only, scrollable view in the place of the
//   label, where it can be read whole, selected and copied.
// - The box is wide enough for a window manager to show its title whole.
// - Ctrl+C and Ctrl+Insert put the whole box on the clipboard, as message
//   boxes on Windows do: the title, the prompt and the button, each
//   between dashed lines. In the view, a selection is copied as usual.
// - A click on the prompt leaves the keyboard on OK.
class ProgramMessageBox final : public QMessageBox {
public:
    ProgramMessageBox(QMessageBox::Icon icon, const QString& prompt, QWidget* owner);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void KeepKeyboardOnOk();
    void ShowPromptScrollable(const QScreen& screen);
    void LeaveRoomForTitle();
    // What Ctrl+C puts on the clipboard.
    QString CopiedText() const;
    void CopyToClipboard() const;

    QPlainTextEdit* view_ = nullptr;
};
