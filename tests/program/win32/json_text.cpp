#include "json_text.h"

#include <cstdio>

namespace {

std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::string Escaped(char character) {
    switch (character) {
    case '"': return "\\\"";
    case '\\': return "\\\\";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\t': return "\\t";
    default: break;
    }
    if (static_cast<unsigned char>(character) < 0x20) {
        char escape[8]{};
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(character));
        return escape;
    }
    return std::string(1, character);
}

} // namespace

std::string JsonString(std::wstring_view text) {
    std::string json(1, '"');
    for (char character : Utf8(text))
        json.append(Escaped(character));
    json.push_back('"');
    return json;
}

std::string JsonRect(const RECT& rect) {
    std::string json(1, '[');
    for (const LONG value : {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}) {
        if (json.size() > 1) json.push_back(',');
        json.append(std::to_string(value));
    }
    json.push_back(']');
    return json;
}
