#include "input_rules.h"

std::optional<std::u16string_view> KeptOfArrivingText(std::optional<std::u16string_view> offered) {
    if (!offered || offered->empty()) return std::nullopt;
    return offered->substr(0, offered->find_first_of(u"\r\n"));
}
