// The C syntax scanner behind the editor's colouring: a single pass over a range of bytes that
// yields coloured runs in text order. It knows nothing of the editor control; the frame applies
// the runs it yields. No window-system code here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scrivo {

// The colour slots a run can take; their colours come from the current scheme.
enum class ColorSlot : std::uint8_t { Text, Keyword, Operator, Directive, String, Comment };

// A run [start, end) of the scanned range, in byte offsets from the range's first byte.
struct Run {
    std::size_t start;
    std::size_t end;
    ColorSlot slot;
    bool operator==(const Run &) const = default;
};

// The three word tables the scanner matches against, in their fixed order: among operators of
// equal length, the one earlier in the table wins.
struct WordTables {
    std::vector<std::string> keywords;
    std::vector<std::string> operators;
    std::vector<std::string> directives;

    // The editor's tables: 35 keywords, 30 operators then 9 punctuators, 10 directives.
    static WordTables standard();
};

class Scanner {
public:
    explicit Scanner(const WordTables &tables);

    // Appends the runs of `text` to `runs` (which is not cleared). Only keyword, operator,
    // directive, string and comment runs are yielded; everything else keeps the text colour.
    // Reads nothing outside `text`.
    void scan(std::string_view text, std::vector<Run> &runs) const;

    std::vector<Run> scan(std::string_view text) const {
        std::vector<Run> runs;
        scan(text, runs);
        return runs;
    }
};

}  // namespace scrivo
