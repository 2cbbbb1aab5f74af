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
    const std::size_t room = capacity - incomingLength_;
    if (length > room) {
        length = room;
        while (length > 0 && IsContinuationByte(utf8[length])) --length;
    }
    std::memcpy(incoming_.data() + incomingLength_, utf8, length);
    incomingLength_ += length;
    incoming_[incomingLength_] = '\0';
}

void TypedTextBuffer::Latch() {
    std::memcpy(latched_.data(), incoming_.data(), incomingLength_ + 1);
    incomingLength_ = 0;
    incoming_[0] = '\0';
}

void InputState::TurnWheel(int notches) {
    wheelIncoming_ += notches;
}

void InputState::Latch() {
    keys.Latch();
    buttons.Latch();
    text.Latch();
    wheelLatched_ = static_cast<int>(std::clamp<std::int64_t>(wheelIncoming_, INT_MIN, INT_MAX));
    wheelIncoming_ = 0;
}

int CanonicalKey(int key) {
    return key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key;
}

}  // namespace tactil
