#include "program_message_box.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QScreen>
#include <algorithm>
#include <vector>

#include "prompt_fit.h"
#include "qt_text.h"
#include "runtime/core/application.h"
#include "runtime/core/box_copy.h"

namespace {

// A message box wraps its prompt at half the screen's width, at most 500
// pixels, less its margins; above and below the prompt come the window
// manager's title bar, the box's margins and its row with the OK button.
// The room left for the prompt errs on the small side: a prompt that only
// just fits goes into the scrollable view rather than off the screen.
constexpr int PromptWrapWidthLimit = 500;
constexpr int BesideThePrompt = 60;
constexpr int AboveAndBelowThePrompt = 120;

QSize PromptRoom(const QScreen& screen) {
    const QSize available = screen.availableGeometry().size();
    return {std::min(available.width() / 2, PromptWrapWidthLimit) - BesideThePrompt,
            available.height() - AboveAndBelowThePrompt};
}

// The box's own label, the one that shows its text.
QLabel* PromptLabel(const QMessageBox& box) {
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (label->text() == box.text()) return label;
    }
    return nullptr;
}

// Window managers draw the title in bold beside the window's icon and its
// buttons (minimize, maximize, close). Room for the title in the box's own
// font made bold, a quarter more for a desktop whose title font is larger,
// and a square of two lines' height for each of the icon and the buttons.
int TitleBarWidth(const QString& title, const QFont& font) {
    QFont bold(font);
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    constexpr int iconAndButtons = 4;
    return metrics.horizontalAdvance(title) * 5 / 4 + iconAndButtons * 2 * metrics.height();
}

// A caption as shown: "&&" is an ampersand, and any other "&" marks the
// letter after it as the button's access key.
QString WithoutMnemonic(const QString& caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return shown;
}

} // namespace

ProgramMessageBox::ProgramMessageBox(QMessageBox::Icon icon, const QString& prompt, QWidget* owner)
    : QMessageBox(icon, ToQString(ApplicationTitle), QString(), QMessageBox::Ok, owner) {
    // Names are shown as typed, even when they look like markup.
    setTextFormat(Qt::PlainText);
    setText(prompt);
    KeepKeyboardOnOk();
    const QScreen& screen = *(owner != nullptr ? owner->screen() : this->screen());
    if (QLabel* label = PromptLabel(*this);
        label != nullptr && !TextFitsInRoom(prompt, label->font(), PromptRoom(screen))) {
        ShowPromptScrollable(screen);
    }
    LeaveRoomForTitle();
}

// The style may make the prompt selectable with the keyboard, and a click
// on it would then take the keyboard from OK, leaving Space without effect.
// The keyboard stays on OK, as in a system message box on Windows; the
// prompt can still be selected with the mouse, and Ctrl+C copies the box.
void ProgramMessageBox::KeepKeyboardOnOk() {
    if (QLabel* label = PromptLabel(*this)) label->setFocusPolicy(Qt::NoFocus);
}

// Puts the prompt into a read-only, scrollable view of a size that fits the
// screen, in the place of the box's label. The box keeps the whole text as
// its own, and the user can scroll through it, select it and copy it.
void ProgramMessageBox::ShowPromptScrollable(const QScreen& screen) {
    QLabel* label = PromptLabel(*this);
    if (label == nullptr || layout() == nullptr) return;

    view_ = new QPlainTextEdit(this);
    view_->setReadOnly(true);
    view_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    view_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    view_->setPlainText(text());
    view_->installEventFilter(this);

    const QSize available = screen.availableGeometry().size();
    view_->setFixedSize(std::min(600, available.width() * 2 / 3),
                        std::min(400, available.height() / 2));

    delete layout()->replaceWidget(label, view_);
    label->hide();
}

// The box sizes itself to its prompt and its button, and would be narrower
// than its title bar needs for a short prompt: its row of buttons is made
// at least that wide.
void ProgramMessageBox::LeaveRoomForTitle() {
    QAbstractButton* ok = button(QMessageBox::Ok);
    auto* row = ok != nullptr ? qobject_cast<QDialogButtonBox*>(ok->parentWidget()) : nullptr;
    if (row == nullptr || layout() == nullptr) return;
    const QMargins margins = layout()->contentsMargins();
    row->setMinimumWidth(TitleBarWidth(windowTitle(), font()) - margins.left() - margins.right());
}

QString ProgramMessageBox::CopiedText() const {
    std::vector<std::u16string> captions;
    for (const QAbstractButton* each : buttons())
        captions.push_back(ToU16String(WithoutMnemonic(each->text())));
    const std::vector<std::u16string_view> shown(captions.begin(), captions.end());
    return ToQString(CopiedBoxText(ToU16String(windowTitle()), ToU16String(text()), shown, u"\n"));
}

void ProgramMessageBox::CopyToClipboard() const {
    QGuiApplication::clipboard()->setText(CopiedText());
}

void ProgramMessageBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopyToClipboard();
        return;
    }
    QMessageBox::keyPressEvent(event);
}

// In the view, Ctrl+C copies what is selected there; with nothing selected
// it copies the whole box, as it does everywhere else in the box.
bool ProgramMessageBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy) &&
        !view_->textCursor().hasSelection()) {
        CopyToClipboard();
        return true;
    }
    return QMessageBox::eventFilter(watched, event);
}
