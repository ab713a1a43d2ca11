#include "person_table.h"

#include "runtime/core/run_time_error.h"

namespace {

void CheckSlot(int index) {
    if (index < PersonTable::FirstSlot || index > PersonTable::LastSlot) {
        RaiseRunTimeError(RunTimeErrorNumber::SubscriptOutOfRange);
    }
}

} // namespace

PersonTable::PersonTable() : people_(PersonTable::LastSlot + 1) {}

void PersonTable::AddPerson(std::u16string_view fullName, std::u16string_view birthYear,
                            std::u16string_view sex, double height) {
    const int index = peopleCount_;
    CheckSlot(index);
    // Build the whole person first, so that running out of memory while
    // copying a long text leaves the slot and the count as they were.
    Person person{std::u16string(fullName), std::u16string(birthYear), std::u16string(sex), height};
    people_[static_cast<std::size_t>(index)] = std::move(person);
    peopleCount_ = static_cast<std::int16_t>(index + 1);
}

const Person& PersonTable::People(std::int16_t index) const {
    CheckSlot(index);
    return people_[static_cast<std::size_t>(index)];
}
