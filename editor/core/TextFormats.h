// The texts the frame shows about the document: the window title and the caret position of the
// status line. No window-system code here.
#pragma once

#include <string>
#include <string_view>

namespace scrivo {

// "Scrivo - Untitled" for an empty path, otherwise "Scrivo - " and the path as stored.
std::string TitleText(std::string_view path);

// Where the caret stands, 1-based, and how many lines the text has.
struct CaretPosition {
    int line;
    int column;
    int lineCount;
};

// "Line %d  Col %d \t%d Lines". The status pane shows the part after the tab centred.
std::string StatusLineText(const CaretPosition &position);

// The part before the tab and the part after it; the whole text and "" when there is no tab.
struct StatusLineParts {
    std::string_view left;
    std::string_view centred;
};
StatusLineParts SplitStatusLine(std::string_view text);

}  // namespace scrivo
