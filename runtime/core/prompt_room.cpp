#include "prompt_room.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The blocks of combining marks, variation selectors and joiners in the
// basic plane, which attach to the letter before them.
constexpr std::array<std::pair<char16_t, char16_t>, 8> AttachingBlocks{{
    {0x0300, 0x036F}, // combining diacritical marks
    {0x0483, 0x0489}, // Cyrillic combining marks
    {0x1AB0, 0x1AFF}, // combining diacritical marks extended
    {0x1DC0, 0x1DFF}, // combining diacritical marks supplement
    {0x200C, 0x200D}, // zero-width non-joiner and joiner
    {0x20D0, 0x20FF}, // combining marks for symbols
    {0xFE00, 0xFE0F}, // variation selectors
    {0xFE20, 0xFE2F}, // combining half marks
}};

bool AttachesToLetterBefore(char16_t unit) {
    return std::any_of(AttachingBlocks.begin(), AttachingBlocks.end(), [unit](const auto& block) {
        return unit >= block.first && unit <= block.second;
    });
}

template <class Char> bool MayBreakAt(std::basic_string_view<Char> text, std::size_t place) {
    if (place == 0 || place >= text.size()) return true;
    const auto unit = static_cast<char16_t>(text[place]);
    if (IsLowSurrogate(unit) && IsHighSurrogate(static_cast<char16_t>(text[place - 1])))
        return false;
    return !AttachesToLetterBefore(unit);
}

template <class Char> std::size_t BreakNear(std::basic_string_view<Char> text, std::size_t place) {
    place = std::min(place, text.size());
    std::size_t before = place;
    while (before > 0 && !MayBreakAt(text, before))
        --before;
    if (before > 0) return before;
    std::size_t after = std::max<std::size_t>(place, 1);
    while (after < text.size() && !MayBreakAt(text, after))
        ++after;
    return std::min(after, text.size());
}

} // namespace

bool LineMayBreakAt(std::u16string_view text, std::size_t place) { return MayBreakAt(text, place); }
bool LineMayBreakAt(std::wstring_view text, std::size_t place) { return MayBreakAt(text, place); }

std::size_t LineBreakNear(std::u16string_view text, std::size_t place) {
    return BreakNear(text, place);
}
std::size_t LineBreakNear(std::wstring_view text, std::size_t place) {
    return BreakNear(text, place);
}

bool PromptFitsInRoom(std::u16string_view text, const FitsInRoom& fits) {
    for (std::size_t part = FirstMeasuredPart;; part *= 4) {
        if (part >= text.size()) return fits(text);
        if (!fits(text.substr(0, LineBreakNear(text, part)))) return false;
    }
}
