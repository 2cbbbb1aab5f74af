// The colour scheme table, in menu order. The identifiers are the menu commands' own and are what
// the settings file stores, so they must never be renumbered.
#include "ColorSchemes.h"

#include <algorithm>
#include <array>

namespace scrivo {
namespace {

// Colours in slot order: background, text, keyword, operator, directive, string, comment.
// Rows in menu order (alphabetical whatever the case); identifiers from command::kFirstScheme to
// command::kLastScheme. Free for a new scheme: 32808, 32812, 32813.
// clang-format off
constexpr auto kSchemes = std::to_array<ColorScheme>({
    {32817, "Amstrad", {{0, 0, 98}, {254, 253, 13}, {254, 253, 13}, {254, 253, 13}, {254, 253, 13}, {254, 253, 13}, {128, 128, 0}}},
    {32796, "Black", {{0, 0, 0}, {255, 255, 255}, {46, 148, 209}, {218, 47, 120}, {0, 167, 126}, {235, 149, 6}, {128, 128, 128}}},
    {32797, "Borland", {{0, 0, 170}, {255, 240, 25}, {255, 255, 255}, {255, 255, 255}, {85, 255, 85}, {0, 255, 255}, {192, 192, 192}}},
    {32814, "BW", {{255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {128, 128, 128}}},
    {32816, "C64", {{64, 64, 224}, {160, 159, 252}, {160, 159, 252}, {160, 159, 252}, {160, 159, 252}, {160, 159, 252}, {128, 128, 128}}},
    {32798, "Classic", {{255, 255, 255}, {0, 0, 128}, {52, 0, 255}, {0, 0, 0}, {128, 128, 128}, {183, 76, 79}, {41, 145, 39}}},
    {32799, "Commander", {{0, 0, 128}, {255, 255, 255}, {0, 255, 255}, {0, 255, 0}, {0, 128, 128}, {255, 255, 0}, {128, 128, 0}}},
    {32800, "Console", {{0, 0, 128}, {255, 255, 0}, {255, 255, 0}, {255, 255, 0}, {255, 255, 0}, {255, 255, 0}, {128, 128, 128}}},
    {32801, "Contrast", {{20, 16, 27}, {244, 244, 244}, {238, 24, 112}, {230, 169, 11}, {45, 242, 185}, {76, 161, 234}, {119, 115, 125}}},
    {32802, "Dark", {{30, 30, 30}, {205, 209, 157}, {82, 144, 194}, {149, 149, 149}, {230, 142, 182}, {191, 141, 115}, {79, 151, 68}}},
    {32803, "Gray", {{46, 51, 65}, {215, 187, 42}, {252, 164, 99}, {191, 182, 183}, {169, 102, 224}, {177, 225, 109}, {85, 107, 131}}},
    {32804, "Monitor", {{0, 54, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 128, 0}}},
    {32805, "Purple", {{46, 43, 85}, {230, 203, 16}, {127, 203, 214}, {203, 206, 227}, {247, 103, 136}, {177, 225, 109}, {170, 96, 232}}},
    {32795, "QB", {{0, 0, 170}, {167, 168, 189}, {167, 168, 189}, {167, 168, 189}, {167, 168, 189}, {167, 168, 189}, {100, 100, 100}}},
    {32810, "Terminal Cyan", {{0, 0, 0}, {0, 255, 255}, {0, 255, 255}, {0, 255, 255}, {0, 255, 255}, {0, 255, 255}, {0, 128, 128}}},
    {32811, "Terminal Green", {{0, 0, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 128, 0}}},
    {32807, "Terminal White", {{0, 0, 0}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {128, 128, 128}}},
    {32809, "Terminal Yellow", {{0, 0, 0}, {255, 255, 0}, {255, 255, 0}, {255, 255, 0}, {255, 255, 0}, {255, 255, 0}, {128, 128, 0}}},
    {32815, "Vic20", {{255, 255, 255}, {0, 0, 255}, {0, 0, 255}, {0, 0, 255}, {0, 0, 255}, {0, 0, 255}, {128, 128, 255}}},
    {32818, "Watcom", {{0, 0, 0}, {165, 165, 165}, {122, 238, 237}, {24, 114, 114}, {122, 238, 237}, {246, 245, 136}, {123, 225, 123}}},
    {32806, "ZX", {{200, 196, 200}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {128, 128, 128}}},
});
// clang-format on

}  // namespace

Rgb SchemeColors::ForSlot(ColorSlot slot) const {
    switch (slot) {
        case ColorSlot::Text:
            return text;
        case ColorSlot::Keyword:
            return keyword;
        case ColorSlot::Operator:
            return op;
        case ColorSlot::Directive:
            return directive;
        case ColorSlot::String:
            return string;
        case ColorSlot::Comment:
            return comment;
    }
    return text;
}

std::span<const ColorScheme> ColorSchemes() {
    return kSchemes;
}

const ColorScheme *FindColorScheme(int id) {
    const auto found = std::ranges::find(kSchemes, id, &ColorScheme::id);
    return found == kSchemes.end() ? nullptr : &*found;
}

}  // namespace scrivo
