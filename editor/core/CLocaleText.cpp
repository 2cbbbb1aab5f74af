#include "CLocaleText.h"

#include <algorithm>
#include <climits>

namespace scrivo {

int ParseLeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // One past INT_MAX is as far as a value needs to grow: it is INT_MIN's magnitude.
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min(value * 10 + (text[i] - '0'), kLimit);
    }
    return static_cast<int>(negative ? -value : std::min(value, kLimit - 1));
}

}  // namespace scrivo
