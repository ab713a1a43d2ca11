#include "person_table.h"

#include <algorithm>

#include "runtime/core/run_time_error.h"

namespace {

void CheckSlot(int index) {
    if (index < PersonTable::FirstSlot || index > PersonTable::LastSlot) {
        RaiseRunTimeError(RunTimeErrorNumber::SubscriptOutOfRange);
    }
}

} // namespace

// Slots are made as people arrive, room for twice as many at a time and
// never for more than the table holds: an empty table costs nothing.
void PersonTable::MakeRoomForOneMore() {
    if (people_.size() < people_.capacity()) return;
    constexpr std::size_t SlotCount = PersonTable::LastSlot + 1;
    constexpr std::size_t FirstRoom = 16;
    people_.reserve(std::min(SlotCount, std::max(FirstRoom, 2 * people_.capacity())));
}

void PersonTable::AddPerson(std::u16string_view fullName, std::u16string_view birthYear,
                            std::u16string_view sex, double height) {
    const int index = peopleCount_;
    CheckSlot(index);
    // Build the whole person first, so that running out of memory while
    // copying a long text leaves the slot and the count as they were.
    Person person{std::u16string(fullName), std::u16string(birthYear), std::u16string(sex), height};
    MakeRoomForOneMore();
    people_.push_back(std::move(person));
    peopleCount_ = static_cast<std::int16_t>(index + 1);
}

const Person& PersonTable::People(std::int16_t index) const {
    CheckSlot(index);
    // A slot no one has filled yet reads as an empty person.
    static const Person EmptySlot{};
    if (index >= peopleCount_) return EmptySlot;
    return people_[static_cast<std::size_t>(index)];
}
