// Text read the way the C library reads it in the "C" locale, whatever the user's locale: its
// white-space set and atoi's reading of a number. The settings file, Go To Line and the scanner
// all read text this way. No window-system code here.
#pragma once

#include <string_view>

namespace scrivo {

// Space, tab, line feed, vertical tab, form feed and carriage return.
constexpr bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// atoi's reading of a number: leading white space, an optional sign, decimal digits up to the
// first other character; 0 without digits. Values beyond int saturate instead of overflowing.
int ParseLeadingInteger(std::string_view text);

}  // namespace scrivo
