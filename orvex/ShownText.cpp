#include "ShownText.h"

#include <cstdio>

namespace orvex {

namespace {

// The length of the well-formed UTF-8 character at the start of `text`, 0 when there is none or
// when it is a C1 control character (U+0080 to U+009F), which terminals act on as well.
std::size_t CharacterLength(std::string_view text) {
    const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    }
    if (length == 0 || text.size() < length) {
        return 0;
    }
    for (std::size_t at = 1; at < length; ++at) {
        if ((byte(at) & 0xC0u) != 0x80u) {
            return 0;
        }
        code = (code << 6) | (byte(at) & 0x3Fu);
    }
    const char32_t smallest[] = {0, 0, 0xA0, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < smallest[length] || code > 0x10FFFF || surrogate ? 0 : length;
}

// The length of the colour sequence at the start of `text` (ESC [ parameters m, or the ESC [ K
// that compilers send with it), 0 when there is none.
std::size_t ColourLength(std::string_view text) {
    if (text.substr(0, 2) != "\x1b[") {
        return 0;
    }
    const std::size_t end = text.find_first_not_of("0123456789;", 2);
    return end != std::string_view::npos && (text[end] == 'm' || text[end] == 'K') ? end + 1 : 0;
}

}  // namespace

std::string Printable(std::string_view text, bool keepColours) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (const std::size_t colour = keepColours ? ColourLength(text.substr(at)) : 0) {
            shown.append(text.substr(at, colour));
            at += colour;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte == '\n' || byte == '\t' || (byte >= 0x20 && byte < 0x7F)) {
            shown += text[at++];
            continue;
        }
        if (const std::size_t length = byte >= 0x80 ? CharacterLength(text.substr(at)) : 0) {
            shown.append(text.substr(at, length));
            at += length;
            continue;
        }
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        shown += escaped;
        ++at;
    }
    return shown;
}

std::string WithoutColours(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (const std::size_t colour = ColourLength(text.substr(at))) {
            at += colour;
            continue;
        }
        plain += text[at++];
    }
    return plain;
}

}  // namespace orvex
