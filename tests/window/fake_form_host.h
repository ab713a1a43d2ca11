#pragma once

#include <map>
#include <string>
#include <vector>

#include "runtime/core/form_host.h"
#include "runtime/core/run_time_error.h"
#include "window/form2_controls.h"
#include "window/form2_description.h"

// A form host without a toolkit: the texts of Form2's inputs in a map, and
// every message box's prompt recorded in order (each counts as dismissed at
// once). Like the real windows, it knows the inputs from the description and
// raises error 424 for a name that is not one of them.
class FakeFormHost : public FormHost {
    // The text of an input; error 424 for any other name.
    template <typename Texts> static auto& Input(Texts& texts, std::string_view control) {
        const auto found = texts.find(control);
        if (found == texts.end()) RaiseRunTimeError(RunTimeErrorNumber::ObjectRequired);
        return found->second;
    }

public:
    FakeFormHost() {
        for (const ControlDescription& control : Form2Description().controls) {
            if (IsInput(control.kind)) texts_.emplace(control.name, u"");
        }
    }

    std::vector<std::u16string> messages;

    std::u16string Text(std::string_view control) const override { return Input(texts_, control); }
    void SetText(std::string_view control, std::u16string_view text) override {
        Input(texts_, control) = text;
    }
    void ShowMessage(std::u16string_view prompt) override { messages.emplace_back(prompt); }

    // What the user typed into the inputs.
    void Type(std::u16string_view name, std::u16string_view year, std::u16string_view sex,
              std::u16string_view height) {
        using namespace Form2Controls;
        SetText(Text1, name);
        SetText(Text2, year);
        SetText(Combo1, sex);
        SetText(Text3, height);
    }

private:
    std::map<std::string_view, std::u16string, std::less<>> texts_;
};
