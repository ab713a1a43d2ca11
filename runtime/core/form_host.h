#pragma once

#include <string>
#include <string_view>

// What a form's event handlers may ask of the toolkit that shows the form.
// The handlers know controls only by name ("Text1", "Combo1"); each backend
// (Qt, Win32, a fake in tests) maps the names to its own widgets.
class FormHost {
public:
    virtual ~FormHost() = default;

    // The text of a text box, or of a combo box's edit part.
    virtual std::u16string Text(std::string_view control) const = 0;
    virtual void SetText(std::string_view control, std::u16string_view text) = 0;

    // A modal message box with the prompt and one OK button, titled with the
    // application's title. Returns once the user has dismissed it.
    virtual void ShowMessage(std::u16string_view prompt) = 0;
};
