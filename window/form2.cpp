#include "form2.h"

#include "register/pair_search.h"
#include "runtime/core/val.h"

using Form2Controls::Combo1, Form2Controls::Text1, Form2Controls::Text2, Form2Controls::Text3;

void Form2::Command1_Click() {
    const std::u16string fullName = host_.Text(Text1);
    const std::u16string birthYear = host_.Text(Text2);
    const std::u16string sex = host_.Text(Combo1);
    const double height = ValFromText(host_.Text(Text3));
    people_.AddPerson(fullName, birthYear, sex, height);

    // Combo1 keeps its text, so the same sex stays chosen for the next person.
    host_.SetText(Text1, u"");
    host_.SetText(Text2, u"");
    host_.SetText(Text3, u"");
    host_.ShowMessage(u"Запись добавлена");
}

void Form2::Command2_Click() {
    FindSameHeightPairs(people_, [this](std::u16string_view report) { host_.ShowMessage(report); });
}
