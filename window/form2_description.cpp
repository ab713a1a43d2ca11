#include "form2_description.h"

#include <array>

#include "form2_controls.h"

namespace {

constexpr std::array<std::u16string_view, 2> SexList{u"Male", u"Female"};

using enum ControlKind;
using namespace Form2Controls;

// clang-format off
constexpr std::array<ControlDescription, 13> Form2Rows{{
    // kind          name      caption                 left   top  width height  tab  container
    {Label,         Label1,   u"Фамилия,Имя",        {240,  240, 1695, 255},   4, Form2},
    {TextBox,       Text1,    u"",                   {1800, 240, 2535, 375},   0, Form2},
    {Label,         Label4,   u"Год рождения",       {240,  840, 1575, 255},   7, Form2},
    {TextBox,       Text2,    u"",                   {1800, 840, 2535, 375},   1, Form2},
    {Label,         Label3,   u"Пол",                {240, 1440, 1335, 255},   6, Form2},
    {ComboBox,      Combo1,   u"",                   {1800, 1440, 2535, 315},  2, Form2, SexList},
    {Label,         Label2,   u"Рост",               {240, 2040, 1455, 255},   5, Form2},
    {TextBox,       Text3,    u"",                   {1800, 2040, 2535, 375},  3, Form2},
    {CommandButton, Command1, u"добавить",           {2040, 2640, 2295, 375},  8, Form2},
    {Frame,         Frame1,   u"Поиск",              {120, 3240, 4335, 855},   9, Form2},
    {Label,         Label5,   u"Людей с одинаковым", {120,  240, 2175, 255},  11, Frame1},
    {Label,         Label6,   u" ростом",            {120,  480, 1095, 255},  12, Frame1},
    {CommandButton, Command2, u"Найти",              {2280, 240, 1935, 495},  10, Frame1},
}};
// clang-format on

constexpr FormDescription Form2Form{Form2, u"Form2", 4575, 4155, Form2Rows};

} // namespace

const FormDescription& Form2Description() { return Form2Form; }
