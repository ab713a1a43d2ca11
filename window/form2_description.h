#pragma once

#include "form_description.h"

// The program's one window, Form2.
const FormDescription& Form2Description();
