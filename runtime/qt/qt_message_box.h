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

// Building and drawing boxes leaves many small freed blocks among live
// ones, and the C library keeps their pages. Called once a handler has
// ended, this gives whole free pages back to the system. Once per handler,
// not once per box: the next box of a search would fault the same pages
// straight back in, which costs more time than the memory is worth.
void ReturnFreedPages();
