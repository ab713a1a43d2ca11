#pragma once

#include <map>
#include <string>
#include <vector>

#include "runtime/form_host.h"

// A form host without a toolkit: control texts in a map, and every message
// box's prompt recorded in order (each counts as dismissed at once).
class FakeFormHost : public FormHost {
public:
    std::map<std::string, std::u16string, std::less<>> texts{
        {"Text1", u""}, {"Text2", u""}, {"Text3", u""}, {"Combo1", u""}};
    std::vector<std::u16string> messages;

    std::u16string Text(std::string_view control) const override {
        return texts.at(std::string(control));
    }
    void SetText(std::string_view control, std::u16string_view text) override {
        texts.at(std::string(control)) = text;
    }
    void ShowMessage(std::u16string_view prompt) override { messages.emplace_back(prompt); }

    void Type(std::u16string_view name, std::u16string_view year, std::u16string_view sex,
              std::u16string_view height) {
        texts["Text1"] = name;
        texts["Text2"] = year;
        texts["Combo1"] = sex;
        texts["Text3"] = height;
    }
};
