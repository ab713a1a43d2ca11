#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

// How much room a prompt may take, and where its lines may break. Each
// backend measures in its own fonts and passes the measuring in; the rules
// say what is measured, so the time they take is bounded.

// Whether a part of the text, laid out as the box lays it out, fits the room.
using FitsInRoom = std::function<bool(std::u16string_view part)>;

// Whether the whole text fits, asking `fits` about starts of the text that
// grow fourfold from a few thousand letters: a start never takes more room
// than the whole, so once a start overflows, the whole does too. A text of
// any length is decided after measuring a few times the start that
// overflows, and a text that fits is measured whole. No start ends inside a
// letter (see LineMayBreakAt).
bool PromptFitsInRoom(std::u16string_view text, const FitsInRoom& fits);

// The first part measured; the next are four times as long as the last.
inline constexpr std::size_t FirstMeasuredPart = 4096;

// Whether a line may end before text[place]: never between the two halves
// of a surrogate pair (an emoji, a rare CJK letter) nor before a combining
// mark or a joiner, which belong to the letter before them.
// Windows keeps its texts in 16-bit wchar_t, read here unchanged.
bool LineMayBreakAt(std::u16string_view text, std::size_t place);
bool LineMayBreakAt(std::wstring_view text, std::size_t place);

// The nearest place at or before `place` where a line may break; when there
// is none after the start, the first one after it, so that a line is never
// empty (a letter with its marks is never split).
std::size_t LineBreakNear(std::u16string_view text, std::size_t place);
std::size_t LineBreakNear(std::wstring_view text, std::size_t place);
