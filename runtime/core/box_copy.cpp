#include "box_copy.h"

std::u16string CopiedBoxText(std::u16string_view title, std::u16string_view text,
                             std::span<const std::u16string_view> buttons,
                             std::u16string_view lineBreak) {
    std::u16string rule(27, u'-');
    rule += lineBreak;
    std::u16string copy;
    copy.reserve(4 * rule.size() + title.size() + text.size() + 3 * lineBreak.size() + 32);
    copy.append(rule).append(title).append(lineBreak);
    copy.append(rule).append(text).append(lineBreak);
    copy.append(rule);
    for (std::u16string_view button : buttons)
        copy.append(button).append(u"   ");
    copy.append(lineBreak).append(rule);
    return copy;
}
