#pragma once

#include <QString>
#include <vector>

#include "window/form_description.h"

class QWidget;

// Measures every caption on a window built from the description (labels, push buttons and frame
// titles) with the font its control draws in, against the room its style
// leaves for it, and returns one line for each caption that would be cut
// off or would run under another control. Empty when everything fits.
std::vector<QString> ClippedCaptions(const QWidget& window, const FormDescription& description);
