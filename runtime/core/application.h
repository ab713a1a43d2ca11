#pragma once

#include <string_view>

// The application's title, shown on every message box the program opens.
inline constexpr std::u16string_view ApplicationTitle = u"Same Height";

// The program's name, as its executable is called.
inline constexpr std::string_view ProgramName = "same-height";
