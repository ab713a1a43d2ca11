#include "window/form2_description.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "window/form2.h"

namespace {

// The backends build controls in the description's order and place each
// inside its container, so every container must come before its controls.
TEST(Form2Description, ContainersComeBeforeTheControlsTheyHold) {
    const FormDescription& form = Form2Description();
    std::set<std::string_view> built{form.name};
    for (const ControlDescription& control : form.controls) {
        EXPECT_TRUE(built.contains(control.container))
            << control.name << " in " << control.container;
        EXPECT_TRUE(built.insert(control.name).second) << "duplicate " << control.name;
    }
}

TEST(Form2Description, TabIndicesAreDistinctAndInputsComeFirst) {
    std::set<int> indices;
    std::vector<std::string_view> focusOrder(13);
    for (const ControlDescription& control : Form2Description().controls) {
        EXPECT_TRUE(indices.insert(control.tabIndex).second) << control.name;
        focusOrder.at(static_cast<std::size_t>(control.tabIndex)) = control.name;
    }
    const std::vector<std::string_view> expectedStart{"Text1", "Text2", "Combo1", "Text3"};
    EXPECT_EQ(std::vector(focusOrder.begin(), focusOrder.begin() + 4), expectedStart);
}

// Every input has exactly one label in its row, which names it.
TEST(Form2Description, EachInputHasOneLabelInItsRow) {
    const auto& controls = Form2Description().controls;
    for (const ControlDescription& input : controls) {
        if (!IsInput(input.kind)) continue;
        int labels = 0;
        for (const ControlDescription& label : controls) {
            if (label.kind == ControlKind::Label && label.container == input.container &&
                label.rect.top == input.rect.top) {
                ++labels;
            }
        }
        EXPECT_EQ(labels, 1) << input.name;
    }
}

// A backend wires each handler to its button when the window is built, and
// refuses a name that is not a button's: the program would not start.
TEST(Form2Description, EveryClickHandlerBelongsToACommandButton) {
    for (const ClickHandler& click : Form2ClickHandlers) {
        const auto& controls = Form2Description().controls;
        const auto button = std::find_if(controls.begin(), controls.end(), [&](const auto& row) {
            return row.name == click.control;
        });
        ASSERT_NE(button, controls.end()) << click.control;
        EXPECT_EQ(button->kind, ControlKind::CommandButton) << click.control;
    }
}

} // namespace
