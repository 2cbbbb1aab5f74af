// The fixed tables behind the int handles that C programs hold for textures, images and fonts. A
// handle is an index into the table. A loader takes the lowest free slot, found by a plain scan
// from 0 (there is no free list), and gets kNoHandle when every slot is taken. Handles outside the
// table find no slot, so a stray value never reaches other memory. Internal header.
#pragma once

#include <array>

namespace graphics {

inline constexpr int kNoHandle = -1;

// Slot is a record with a `bool Free` member that is true while the slot holds nothing.
template <typename Slot, int SlotCount>
class HandleTable {
  public:
    static constexpr int Size() { return SlotCount; }

    int LowestFree() const {
        for (int handle = 0; handle < SlotCount; ++handle) {
            if (Slots[handle].Free) return handle;
        }
        return kNoHandle;
    }

    // The slot of a handle, or null when the handle lies outside the table.
    Slot *Find(int handle) { return handle >= 0 && handle < SlotCount ? &Slots[handle] : nullptr; }

    Slot &operator[](int handle) { return Slots[handle]; }

  private:
    std::array<Slot, SlotCount> Slots{};
};

}  // namespace graphics
