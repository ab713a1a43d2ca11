#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "person.h"

// The program's whole data store: the people entered since the window was
// opened, in order of entry, in a table of 1001 slots (0 to 1000).
// Slots 0 to PeopleCount() - 1 are filled; a new person always goes to slot
// PeopleCount(). Nothing is ever removed, edited or reordered.
class PersonTable {
public:
    static constexpr std::int16_t FirstSlot = 0;
    static constexpr std::int16_t LastSlot = 1000;

    // Stores a copy of the person in the next free slot. A full table raises
    // run-time error 9 (subscript out of range) and changes nothing.
    void AddPerson(std::u16string_view fullName, std::u16string_view birthYear,
                   std::u16string_view sex, double height);

    std::int16_t PeopleCount() const { return peopleCount_; }

    // The person in the slot; an index outside 0..1000 raises error 9.
    const Person& People(std::int16_t index) const;

private:
    void MakeRoomForOneMore();

    // The filled slots only; an unfilled slot reads as an empty person.
    std::vector<Person> people_;
    std::int16_t peopleCount_ = 0;
};
