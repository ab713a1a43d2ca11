#include "form_rules.h"

#include <algorithm>

std::vector<const ControlDescription*> TabOrder(const FormDescription& form) {
    std::vector<const ControlDescription*> order;
    for (const ControlDescription& control : form.controls) {
        if (TakesFocus(control.kind)) order.push_back(&control);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    return order;
}

const ControlDescription* LabelNaming(const FormDescription& form, std::string_view input) {
    const auto found = std::find_if(form.controls.begin(), form.controls.end(),
                                    [input](const auto& control) { return control.name == input; });
    if (found == form.controls.end() || !IsInput(found->kind)) return nullptr;
    for (const ControlDescription& label : form.controls) {
        if (label.kind == ControlKind::Label && label.container == found->container &&
            label.rect.top == found->rect.top) {
            return &label;
        }
    }
    return nullptr;
}
