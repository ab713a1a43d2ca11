#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Pieces of JSON text for the probe's answers: a UTF-16 text as a JSON
// string (UTF-8, with every control character escaped) and a rectangle as
// [left, top, width, height].
std::string JsonString(std::wstring_view text);
std::string JsonRect(const RECT& rect);
