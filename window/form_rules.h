#pragma once

#include <string_view>
#include <vector>

#include "form_description.h"

// The rules of a described form that every backend follows the same way.

// The controls the user reaches with Tab, in the order Tab reaches them:
// inputs and buttons by TabIndex; labels and frames are passed over.
std::vector<const ControlDescription*> TabOrder(const FormDescription& form);

// The label that names an input for a screen reader: the label in the
// input's row (the same container, the same top). nullptr when the control
// is no input or has no label in its row.
const ControlDescription* LabelNaming(const FormDescription& form, std::string_view input);
