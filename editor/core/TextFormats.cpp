#include "TextFormats.h"

#include <string>

namespace scrivo {

std::string TitleText(std::string_view path) {
    return path.empty() ? std::string("Scrivo - Untitled") : "Scrivo - " + std::string(path);
}

std::string StatusLineText(const CaretPosition &position) {
    return "Line " + std::to_string(position.line) + "  Col " + std::to_string(position.column) +
           " \t" + std::to_string(position.lineCount) + " Lines";
}

StatusLineParts SplitStatusLine(std::string_view text) {
    const auto tab = text.find('\t');
    if (tab == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, tab), text.substr(tab + 1)};
}

}  // namespace scrivo
