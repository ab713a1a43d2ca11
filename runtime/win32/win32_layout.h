#pragma once

#include <windows.h>

#include <vector>

#include "window/form_description.h"

// Where the Win32 backend puts a form's controls. Every control is a child of
// the form window itself, a frame's controls included: they are placed at
// the frame's offset, so their clicks reach the form and Tab reaches them.

// Twips (1/1440 inch) as pixels of a screen with the given dots per inch.
int TwipsToPixels(int twips, int dpi);

// The control's rectangle in pixels, relative to the form's client area.
RECT ControlRectInForm(const FormDescription& form, const ControlDescription& control, int dpi);

// Where the control's window goes: its rectangle, but a label that names an
// input ends where the input starts. A label's window lies above its input
// (see CreationOrder) and would otherwise cover the input's left edge; its
// caption never reaches that far.
RECT PlacedRectInForm(const FormDescription& form, const ControlDescription& control, int dpi);

// The order in which the controls' windows are made: the inputs and buttons
// in Tab order, each input right after the label that names it, then the
// other controls by TabIndex.
std::vector<const ControlDescription*> CreationOrder(const FormDescription& form);

// The form's client area in pixels: its left and top are 0.
RECT FormClientRect(const FormDescription& form, int dpi);

// The control's child-window identifier. Enter and Escape send the ids of
// the dialog's OK and Cancel buttons (1 and 2) to the form; no control has
// those, so the keys do nothing.
constexpr int FirstControlId = 100;
constexpr int ControlId(const ControlDescription& control) {
    return FirstControlId + control.tabIndex;
}

// The control of that name, or nullptr.
const ControlDescription* FindControl(const FormDescription& form, std::string_view name);
