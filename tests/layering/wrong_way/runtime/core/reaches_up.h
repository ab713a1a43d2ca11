#pragma once

// Core code that reaches up into the register and into a toolkit.
#include <QString>

#include "register/person_table.h"
