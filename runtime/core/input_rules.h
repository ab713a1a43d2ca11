#pragma once

#include <optional>
#include <string_view>

// How a one-line input and a focused button take what the user gives them.
// Both backends turn their toolkit's events into these questions and do
// what the answers say.

// What a one-line input keeps of a text that arrives in it (a paste, a
// drop, an input method's text, typed text): its first line, up to its
// first CR or LF, whichever way the text breaks its lines; that line may be
// empty, and then replaces the selection with nothing. A paste with no text
// on offer (a picture, an empty clipboard, a clipboard that cannot be read)
// changes nothing: nullopt, as for an empty text.
std::optional<std::u16string_view> KeptOfArrivingText(std::optional<std::u16string_view> offered);

// The modifier keys held with a key.
struct HeldModifiers {
    bool shift = false;
    bool control = false;
    bool alt = false; // Alt, or the system's command key
};

// Whether Return or the keypad's Enter clicks the button that has the focus,
// as Space does. Shift and Ctrl make no difference; with Alt the key is a
// command for the window, never a click.
constexpr bool EnterClicksFocusedButton(HeldModifiers held) { return !held.alt; }
