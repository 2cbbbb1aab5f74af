// Text from outside (file names, the compiler's messages, the sanitizer's reports) made safe to
// show on a terminal.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

// `text` with every control character but line breaks and tabs written as \xNN, so that a file
// name cannot retitle the window, clear the screen or change its colours. Malformed UTF-8 bytes
// are written the same way; well-formed characters stay as they are. `keepColours` lets colour
// sequences through, for the compiler's messages in a terminal.
std::string Printable(std::string_view text, bool keepColours = false);

// `text` without the colour sequences a compiler adds for a terminal.
std::string WithoutColours(std::string_view text);

}  // namespace orvex
