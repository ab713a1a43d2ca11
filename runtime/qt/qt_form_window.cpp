#include "qt_form_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "qt_message_box.h"
#include "qt_text.h"
#include "runtime/event_handler.h"

namespace {

// Qt works in logical pixels and scales them for HiDPI screens itself, so
// twips become pixels at the nominal 96 dots per inch: 15 twips a pixel.
int TwipsToPixels(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

QRect ToPixels(const TwipRect& rect) {
    return {TwipsToPixels(rect.left), TwipsToPixels(rect.top), TwipsToPixels(rect.width),
            TwipsToPixels(rect.height)};
}

// Texts of any length: the user's paste is never cut short.
constexpr int NoLengthLimit = std::numeric_limits<int>::max();

QWidget* CreateLabel(const ControlDescription& control, QWidget* container) {
    auto* label = new QLabel(ToQString(control.caption), container);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* CreateTextBox(QWidget* container) {
    auto* edit = new QLineEdit(container);
    edit->setMaxLength(NoLengthLimit);
    return edit;
}

// An editable drop-down whose text stays exactly as the user typed it: no
// completion, no change of case, nothing added to the list.
QWidget* CreateComboBox(const ControlDescription& control, QWidget* container) {
    auto* combo = new QComboBox(container);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->lineEdit()->setMaxLength(NoLengthLimit);
    for (std::u16string_view item : control.listItems)
        combo->addItem(ToQString(item));
    combo->setCurrentIndex(-1);
    combo->clearEditText();
    return combo;
}

// Neither button is a default button: Enter in a box does nothing.
QWidget* CreateButton(const ControlDescription& control, QWidget* container) {
    auto* button = new QPushButton(ToQString(control.caption), container);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QWidget* CreateFrame(const ControlDescription& control, QWidget* container) {
    return new QGroupBox(ToQString(control.caption), container);
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
    setObjectName(ToQString(description.name));
    setWindowTitle(ToQString(description.caption));
    setFixedSize(TwipsToPixels(description.clientWidth), TwipsToPixels(description.clientHeight));
    controls_.emplace(std::string(description.name), this);
    // Containers come before the controls they hold in every description.
    for (const ControlDescription& control : description.controls) {
        QWidget* widget = CreateControl(control, Control(control.container));
        controls_.emplace(std::string(control.name), widget);
    }
    SetTabOrderAndFocus(description);
    SetLabelBuddies(description);
}

void QtFormWindow::SetTabOrderAndFocus(const FormDescription& description) {
    std::vector<const ControlDescription*> order;
    for (const ControlDescription& control : description.controls) {
        if (TakesFocus(control.kind)) order.push_back(&control);
    }
    std::sort(order.begin(), order.end(),
              [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(Control(order[i - 1]->name), Control(order[i]->name));
    }
    if (!order.empty()) Control(order.front()->name)->setFocus();
}

// A label names the input in its row, so that a screen reader announces the
// input by the label's text.
void QtFormWindow::SetLabelBuddies(const FormDescription& description) {
    for (const ControlDescription& label : description.controls) {
        if (label.kind != ControlKind::Label) continue;
        for (const ControlDescription& input : description.controls) {
            if (IsInput(input.kind) && input.container == label.container &&
                input.rect.top == label.rect.top) {
                static_cast<QLabel*>(Control(label.name))->setBuddy(Control(input.name));
            }
        }
    }
}

void QtFormWindow::OnClick(std::string_view button, std::function<void()> handler) {
    auto* pushButton = qobject_cast<QPushButton*>(Control(button));
    if (pushButton == nullptr) RaiseRunTimeError(RunTimeErrorNumber::ObjectRequired);
    connect(pushButton, &QPushButton::clicked, this, [this, handler = std::move(handler)] {
        RunEventHandler(handler,
                        [this](const RunTimeError& error) { ShowRunTimeErrorBox(this, error); });
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
