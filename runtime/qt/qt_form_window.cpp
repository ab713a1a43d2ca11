#include "qt_form_window.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyleFactory>
#include <cmath>
#include <vector>

#include "qt_accessibility.h"
#include "qt_combo_box.h"
#include "qt_line_edit.h"
#include "qt_message_box.h"
#include "qt_push_button.h"
#include "qt_text.h"
#include "runtime/core/event_handler.h"
#include "window/form_rules.h"

namespace {

// Qt works in logical pixels and scales them for HiDPI screens itself, so
// twips become pixels at the nominal 96 dots per inch: 15 twips a pixel.
int TwipsToPixels(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

QRect ToPixels(const TwipRect& rect) {
    return {TwipsToPixels(rect.left), TwipsToPixels(rect.top), TwipsToPixels(rect.width),
            TwipsToPixels(rect.height)};
}

// The rectangles were laid out for an 8-point sans-serif font and do not grow
// with their captions. So the form keeps the desktop's font family but takes
// this size: at a desktop's larger size the captions would be clipped.
constexpr int FormFontPointSize = 8;

QFont FormFont() {
    QFont font = QApplication::font();
    font.setPointSize(FormFontPointSize);
    return font;
}

// A label is shorter than the input in its row and starts at the same top;
// at the foot of its rectangle the caption comes nearest to the input's line
// of text.
QWidget* CreateLabel(const ControlDescription& control, QWidget* container) {
    auto* label = new QLabel(ToQString(control.caption), container);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    return label;
}

QWidget* CreateTextBox(QWidget* container) { return new FormLineEdit(container); }

QWidget* CreateComboBox(const ControlDescription& control, QWidget* container) {
    QStringList items;
    for (std::u16string_view item : control.listItems)
        items << ToQString(item);
    return new FormComboBox(items, container);
}

// Neither button is a default button: Enter in a box does nothing.
QWidget* CreateButton(const ControlDescription& control, QWidget* container) {
    return new FormButton(ToQString(control.caption), container);
}

// The frame's title sits on its top edge, cut into the line, and the controls
// inside start just below that edge: that is how the layout was drawn.
// Styles such as Fusion put the title above the frame instead, where it
// crowds the controls, so the frame is drawn in the built-in Windows style.
// The one style object serves every frame and belongs to the application.
QStyle* TitleOnEdgeStyle() {
    static QPointer<QStyle> style;
    if (style.isNull()) {
        style = QStyleFactory::create(QStringLiteral("Windows"));
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

QWidget* CreateFrame(const ControlDescription& control, QWidget* container) {
    auto* frame = new QGroupBox(ToQString(control.caption), container);
    frame->setStyle(TitleOnEdgeStyle());
    return frame;
}

QWidget* CreateControl(const ControlDescription& control, QWidget* container) {
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::Label: widget = CreateLabel(control, container); break;
    case ControlKind::TextBox: widget = CreateTextBox(container); break;
    case ControlKind::ComboBox: widget = CreateComboBox(control, container); break;
    case ControlKind::CommandButton: widget = CreateButton(control, container); break;
    case ControlKind::Frame: widget = CreateFrame(control, container); break;
    }
    widget->setObjectName(ToQString(control.name));
    widget->setGeometry(ToPixels(control.rect));
    return widget;
}

} // namespace

QtFormWindow::QtFormWindow(const FormDescription& description) {
    InstallFormAccessibility();
    setObjectName(ToQString(description.name));
    setWindowTitle(ToQString(description.caption));
    setFixedSize(TwipsToPixels(description.clientWidth), TwipsToPixels(description.clientHeight));
    const QFont formFont = FormFont();
    setFont(formFont);
    controls_.emplace(std::string(description.name), this);
    // A line edit lays out its empty text once with the application's font
    // before it takes its parent's: with the form's font as the application's
    // while the controls are built, no font engine is made for a size the
    // window never shows. Boxes shown later get the desktop's font again.
    const QFont desktopFont = QApplication::font();
    QApplication::setFont(formFont);
    // Containers come before the controls they hold in every description.
    for (const ControlDescription& control : description.controls) {
        QWidget* widget = CreateControl(control, Control(control.container));
        controls_.emplace(std::string(control.name), widget);
    }
    QApplication::setFont(desktopFont);
    SetTabOrderAndFocus(description);
    SetLabelBuddies(description);
}

void QtFormWindow::SetTabOrderAndFocus(const FormDescription& description) {
    const std::vector<const ControlDescription*> order = TabOrder(description);
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(Control(order[i - 1]->name), Control(order[i]->name));
    }
    if (!order.empty()) Control(order.front()->name)->setFocus();
}

// A label names an input, so that a screen reader announces the input by
// the label's text.
void QtFormWindow::SetLabelBuddies(const FormDescription& description) {
    for (const ControlDescription& input : description.controls) {
        if (const ControlDescription* label = LabelNaming(description, input.name))
            static_cast<QLabel*>(Control(label->name))->setBuddy(Control(input.name));
    }
}

void QtFormWindow::OnClick(std::string_view button, std::function<void()> handler) {
    auto* pushButton = qobject_cast<QPushButton*>(Control(button));
    if (pushButton == nullptr) RaiseRunTimeError(RunTimeErrorNumber::ObjectRequired);
    connect(pushButton, &QPushButton::clicked, this, [this, handler = std::move(handler)] {
        if (RunEventHandler(
                handler, [this](const RunTimeError& error) { ShowRunTimeErrorBox(this, error); })) {
            ReturnFreedPages();
        }
    });
}

QWidget* QtFormWindow::Control(std::string_view name) const {
    const auto found = controls_.find(name);
    if (found == controls_.end()) RaiseRunTimeError(RunTimeErrorNumber::ObjectRequired);
    return found->second;
}

std::u16string QtFormWindow::Text(std::string_view control) const {
    QWidget* widget = Control(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return ToU16String(edit->text());
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return ToU16String(combo->currentText());
    RaiseRunTimeError(RunTimeErrorNumber::ObjectRequired);
}

void QtFormWindow::SetText(std::string_view control, std::u16string_view text) {
    QWidget* widget = Control(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->setText(ToQString(text));
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->setEditText(ToQString(text));
    RaiseRunTimeError(RunTimeErrorNumber::ObjectRequired);
}

void QtFormWindow::ShowMessage(std::u16string_view prompt) { ShowMessageBox(this, prompt); }
