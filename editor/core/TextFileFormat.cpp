#include "TextFileFormat.h"

namespace scrivo {

namespace {

// Copies `in` with each CR LF, lone CR and lone LF replaced by `lineBreak`. The stretches between
// breaks are copied whole, so a file of long lines costs little more than one copy.
std::string withLineBreaks(std::string_view in, std::string_view lineBreak) {
    std::string out;
    out.reserve(in.size() + in.size() / 32 * lineBreak.size());
    const char *position = in.data();
    const char *const end = in.data() + in.size();
    while (position < end) {
        const char *lineEnd = position;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r') {
            ++lineEnd;
        }
        out.append(position, static_cast<std::size_t>(lineEnd - position));
        if (lineEnd == end) {
            break;
        }
        out.append(lineBreak);
        const bool crLf = *lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n';
        position = lineEnd + (crLf ? 2 : 1);
    }
    return out;
}

}  // namespace

std::string fileBytesToText(std::string_view bytes) {
    return withLineBreaks(bytes, "\n");
}

std::string textToFileBytes(std::string_view text) {
    return withLineBreaks(text, "\r\n");
}

}  // namespace scrivo
