#pragma once

#include <string_view>

// The names of Form2 and its controls. The description, the handlers and the
// tests' fake host all spell a name through these, so a misspelt name does
// not compile; the backends look every name up when the window is built.
namespace Form2Controls {

inline constexpr std::string_view Form2 = "Form2";
inline constexpr std::string_view Label1 = "Label1";
inline constexpr std::string_view Text1 = "Text1";
inline constexpr std::string_view Label4 = "Label4";
inline constexpr std::string_view Text2 = "Text2";
inline constexpr std::string_view Label3 = "Label3";
inline constexpr std::string_view Combo1 = "Combo1";
inline constexpr std::string_view Label2 = "Label2";
inline constexpr std::string_view Text3 = "Text3";
inline constexpr std::string_view Command1 = "Command1";
inline constexpr std::string_view Frame1 = "Frame1";
inline constexpr std::string_view Label5 = "Label5";
inline constexpr std::string_view Label6 = "Label6";
inline constexpr std::string_view Command2 = "Command2";

} // namespace Form2Controls
