#include "window/form_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "window/form2_description.h"

namespace {

std::vector<std::string_view> Names(const std::vector<const ControlDescription*>& controls) {
    std::vector<std::string_view> names;
    names.reserve(controls.size());
    for (const ControlDescription* control : controls)
        names.push_back(control->name);
    return names;
}

TEST(FormRules, TabReachesTheInputsAndButtonsOfForm2ByTabIndex) {
    EXPECT_EQ(Names(TabOrder(Form2Description())),
              (std::vector<std::string_view>{"Text1", "Text2", "Combo1", "Text3", "Command1",
                                             "Command2"}));
}

// A small form whose rows are out of Tab order, with a label and a frame
// among them: neither is reached, and equal indices keep their rows' order.
TEST(FormRules, TabOrderFollowsTabIndexNotTheRowsAndSkipsLabelsAndFrames) {
    using enum ControlKind;
    const std::array<ControlDescription, 5> rows{{
        {CommandButton, "Go", u"Go", {0, 900, 600, 300}, 2, "F"},
        {Frame, "Box", u"Box", {0, 0, 900, 900}, 0, "F"},
        {Label, "Caption", u"Name", {0, 0, 600, 300}, 1, "F"},
        {TextBox, "Name", u"", {600, 0, 600, 300}, 3, "F"},
        {ComboBox, "Kind", u"", {600, 300, 600, 300}, 2, "F"},
    }};
    const FormDescription form{"F", u"F", 1200, 1200, rows};
    EXPECT_EQ(Names(TabOrder(form)), (std::vector<std::string_view>{"Go", "Kind", "Name"}));
}

TEST(FormRules, EachInputOfForm2IsNamedByTheLabelInItsRow) {
    struct Case {
        std::string_view control;
        std::string_view label; // empty: named by no label
    };
    const Case cases[] = {
        {"Text1", "Label1"}, {"Text2", "Label4"}, {"Combo1", "Label3"},
        {"Text3", "Label2"}, {"Command1", ""},    {"Command2", ""},
        {"Label1", ""},      {"Frame1", ""},      {"NoSuchControl", ""},
    };
    for (const Case& expected : cases) {
        const ControlDescription* label = LabelNaming(Form2Description(), expected.control);
        EXPECT_EQ(label == nullptr ? std::string_view{} : label->name, expected.label)
            << expected.control;
    }
}

// A label at the same top in another container, or in the same container at
// another top, names nothing.
TEST(FormRules, ALabelNamesOnlyTheInputInItsOwnRowAndContainer) {
    using enum ControlKind;
    const std::array<ControlDescription, 5> rows{{
        {Frame, "Box", u"Box", {0, 600, 1800, 900}, 0, "F"},
        {Label, "Outside", u"Outside", {0, 0, 600, 300}, 1, "F"},
        {TextBox, "Inner", u"", {600, 0, 600, 300}, 2, "Box"},
        {Label, "Below", u"Below", {0, 300, 600, 300}, 3, "Box"},
        {TextBox, "Outer", u"", {600, 0, 600, 300}, 4, "F"},
    }};
    const FormDescription form{"F", u"F", 1800, 1800, rows};
    EXPECT_EQ(LabelNaming(form, "Inner"), nullptr);
    ASSERT_NE(LabelNaming(form, "Outer"), nullptr);
    EXPECT_EQ(LabelNaming(form, "Outer")->name, "Outside");
}

} // namespace
