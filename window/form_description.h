#pragma once

#include <span>
#include <string_view>

// A window described as data: the form and one row per control. Every
// backend builds its real widgets from this, so the layout has one source.

enum class ControlKind { Label, TextBox, ComboBox, CommandButton, Frame };

// A rectangle in twips (1/1440 inch), relative to the client area of the
// control's container.
struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlDescription {
    ControlKind kind;
    std::string_view name;
    std::u16string_view caption; // a label's, button's or frame's caption
    TwipRect rect;
    int tabIndex;
    std::string_view container;                          // the form's or a frame's name
    std::span<const std::u16string_view> listItems = {}; // a combo box's list, in order
};

struct FormDescription {
    std::string_view name;
    std::u16string_view caption;
    int clientWidth;  // twips
    int clientHeight; // twips
    std::span<const ControlDescription> controls;
};

// Whether the user can Tab to a control of this kind.
constexpr bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::ComboBox ||
           kind == ControlKind::CommandButton;
}

// Whether a control of this kind is an input that a label in its row names.
constexpr bool IsInput(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::ComboBox;
}
