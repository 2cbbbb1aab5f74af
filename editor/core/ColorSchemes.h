// The fixed colour schemes of the editor, in menu order, looked up by their command identifier.
// No window-system code here.
#pragma once

#include <cstdint>
#include <span>

#include "Scanner.h"

namespace scrivo {

struct Rgb {
    int red;
    int green;
    int blue;
    bool operator==(const Rgb &) const = default;
};

// The colour as the window system takes it: red + 256 * green + 65536 * blue.
constexpr std::uint32_t ToColorRef(Rgb c) {
    return static_cast<std::uint32_t>(c.red) + 256u * static_cast<std::uint32_t>(c.green) +
           65536u * static_cast<std::uint32_t>(c.blue);
}

// The seven colours of a scheme, in slot order.
struct SchemeColors {
    Rgb background;
    Rgb text;
    Rgb keyword;
    Rgb op;
    Rgb directive;
    Rgb string;
    Rgb comment;
    bool operator==(const SchemeColors &) const = default;

    Rgb ForSlot(ColorSlot slot) const;
};

struct ColorScheme {
    int id;               // the command identifier of the scheme's menu item
    const char *caption;  // the menu item's text
    SchemeColors colors;
};

// All schemes in menu order.
std::span<const ColorScheme> ColorSchemes();

// The scheme with this identifier, or nullptr when it names none.
const ColorScheme *FindColorScheme(int id);

// The scheme whose colours are used at start-up when the settings name no scheme: "Classic",
// dark text on white, readable on any screen.
inline constexpr int kFallbackSchemeId = 32798;

}  // namespace scrivo
