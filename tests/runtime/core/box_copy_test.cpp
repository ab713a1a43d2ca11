#include "runtime/core/box_copy.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(BoxCopy, ABoxCopiesItsTitleTextAndButtonsBetweenLinesOfDashes) {
    struct Case {
        std::u16string_view title;
        std::u16string_view text;
        std::vector<std::u16string_view> buttons;
        std::u16string_view lineBreak;
        std::u16string_view copied;
    };
    const Case cases[] = {
        {u"Same Height",
         u"Запись добавлена",
         {u"OK"},
         u"\r\n",
         u"---------------------------\r\nSame Height\r\n"
         u"---------------------------\r\nЗапись добавлена\r\n"
         u"---------------------------\r\nOK   \r\n"
         u"---------------------------\r\n"},
        {u"T",
         u"two\nlines",
         {u"Yes", u"No"},
         u"\n",
         u"---------------------------\nT\n"
         u"---------------------------\ntwo\nlines\n"
         u"---------------------------\nYes   No   \n"
         u"---------------------------\n"},
        {u"",
         u"",
         {},
         u"\n",
         u"---------------------------\n\n---------------------------\n\n"
         u"---------------------------\n\n---------------------------\n"},
    };
    for (const Case& expected : cases) {
        EXPECT_EQ(
            CopiedBoxText(expected.title, expected.text, expected.buttons, expected.lineBreak),
            expected.copied);
    }
}

} // namespace
