#include "InputState.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace tactil {

namespace {

bool IsContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

}  // namespace

void TypedTextBuffer::Add(const char *utf8) {
    if (utf8 == nullptr) return;
    std::size_t length = std::strlen(utf8);
    const std::size_t room = kCapacity - IncomingLength;
    if (length > room) {
        length = room;
        while (length > 0 && IsContinuationByte(utf8[length])) --length;
    }
    std::memcpy(Incoming.data() + IncomingLength, utf8, length);
    IncomingLength += length;
    Incoming[IncomingLength] = '\0';
}

void TypedTextBuffer::Latch() {
    std::memcpy(Latched.data(), Incoming.data(), IncomingLength + 1);
    IncomingLength = 0;
    Incoming[0] = '\0';
}

void InputState::TurnWheel(int notches) {
    WheelIncoming += notches;
}

void InputState::Latch() {
    Keys.Latch();
    Buttons.Latch();
    TypedText.Latch();
    WheelLatched = static_cast<int>(std::clamp<std::int64_t>(WheelIncoming, INT_MIN, INT_MAX));
    WheelIncoming = 0;
}

int CanonicalKey(int key) {
    return key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key;
}

}  // namespace tactil
