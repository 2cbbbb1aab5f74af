// The fixed tables behind the int handles that C programs hold for textures, images and fonts. A
// handle is an index into the table. A loader takes the lowest free slot, found by a plain scan
// from 0 (there is no free list), and gets kNoHandle when every slot is taken. Handles outside the
// table find no slot, so a stray value never reaches other memory. Internal header.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

namespace graphics {

inline constexpr int kNoHandle = -1;

// Slot is a record with a `bool Free` member that is true while the slot holds nothing.
template <typename Slot, int SlotCount>
class HandleTable {
  public:
    static constexpr int Size() { return SlotCount; }

    int LowestFree() const {
        const auto free =
            std::find_if(Slots.begin(), Slots.end(), [](const Slot &slot) { return slot.Free; });
        return free == Slots.end() ? kNoHandle : static_cast<int>(free - Slots.begin());
    }

    // The slot of a handle, or null when the handle lies outside the table.
    Slot *Find(int handle) { return handle >= 0 && handle < SlotCount ? &At(handle) : nullptr; }

    // The slot of a handle inside the table, such as the one LowestFree gave.
    Slot &operator[](int handle) { return At(handle); }

  private:
    // Handles cross the C interface as int; inside the table they are the index they stand for.
    Slot &At(int handle) { return Slots[static_cast<std::size_t>(handle)]; }

    std::array<Slot, static_cast<std::size_t>(SlotCount)> Slots{};
};

}  // namespace graphics
