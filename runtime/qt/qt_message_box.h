#pragma once

#include <string_view>

#include "runtime/core/run_time_error.h"

class QWidget;

// A modal box over the form with the prompt as plain text, one OK button
// and no icon, titled with the application's title. Returns once it is
// dismissed; throws FormGone when the form is destroyed or closed, or the
// program quits, before that.
void ShowMessageBox(QWidget* owner, std::u16string_view prompt);

// The box that reports a run-time error: its number and meaning.
void ShowRunTimeErrorBox(QWidget* owner, const RunTimeError& error);
