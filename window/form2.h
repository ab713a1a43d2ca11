#pragma once

#include <string_view>

#include "form2_controls.h"
#include "register/person_table.h"
#include "runtime/core/form_host.h"

// The form instance: it owns the person table and handles the clicks of its
// two buttons, reaching its controls only through the host.
class Form2 {
public:
    explicit Form2(FormHost& host) : host_(host) {}

    // "добавить": adds the person typed into the inputs to the table.
    void Command1_Click();
    // "Найти": shows one message box per pair of equal height.
    void Command2_Click();

    // The people entered so far.
    const PersonTable& Table() const { return people_; }

private:
    FormHost& host_;
    PersonTable people_;
};

// The buttons whose Click event has a handler, and the handler to run.
struct ClickHandler {
    std::string_view control;
    void (Form2::*handler)();
};

inline constexpr ClickHandler Form2ClickHandlers[] = {
    {Form2Controls::Command1, &Form2::Command1_Click},
    {Form2Controls::Command2, &Form2::Command2_Click},
};
