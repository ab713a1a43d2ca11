#include "win32_layout.h"

#include <algorithm>

#include "window/form_rules.h"

namespace {

constexpr int TwipsPerInch = 1440;

// The offset of a container's client area from the form's: a frame's
// controls are placed relative to the frame's own top-left corner.
POINT ContainerOffset(const FormDescription& form, std::string_view container) {
    POINT offset{0, 0};
    for (const ControlDescription* frame = FindControl(form, container); frame != nullptr;
         frame = FindControl(form, frame->container)) {
        offset.x += frame->rect.left;
        offset.y += frame->rect.top;
    }
    return offset;
}

} // namespace

int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, TwipsPerInch); }

RECT ControlRectInForm(const FormDescription& form, const ControlDescription& control, int dpi) {
    const POINT offset = ContainerOffset(form, control.container);
    const int left = offset.x + control.rect.left;
    const int top = offset.y + control.rect.top;
    return {TwipsToPixels(left, dpi), TwipsToPixels(top, dpi),
            TwipsToPixels(left + control.rect.width, dpi),
            TwipsToPixels(top + control.rect.height, dpi)};
}

RECT PlacedRectInForm(const FormDescription& form, const ControlDescription& control, int dpi) {
    RECT rect = ControlRectInForm(form, control, dpi);
    for (const ControlDescription& input : form.controls) {
        if (LabelNaming(form, input.name) == &control)
            rect.right = std::min(rect.right, ControlRectInForm(form, input, dpi).left);
    }
    return rect;
}

std::vector<const ControlDescription*> CreationOrder(const FormDescription& form) {
    std::vector<const ControlDescription*> order;
    for (const ControlDescription* control : TabOrder(form)) {
        if (const ControlDescription* label = LabelNaming(form, control->name))
            order.push_back(label);
        order.push_back(control);
    }
    std::vector<const ControlDescription*> others;
    for (const ControlDescription& control : form.controls) {
        if (std::find(order.begin(), order.end(), &control) == order.end())
            others.push_back(&control);
    }
    std::stable_sort(others.begin(), others.end(),
                     [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    order.insert(order.end(), others.begin(), others.end());
    return order;
}

RECT FormClientRect(const FormDescription& form, int dpi) {
    return {0, 0, TwipsToPixels(form.clientWidth, dpi), TwipsToPixels(form.clientHeight, dpi)};
}

const ControlDescription* FindControl(const FormDescription& form, std::string_view name) {
    for (const ControlDescription& control : form.controls) {
        if (control.name == name) return &control;
    }
    return nullptr;
}
