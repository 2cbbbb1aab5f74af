#include "TextFileFormat.h"

#include <cstring>

namespace scrivo {

std::string FileBytesToText(std::string bytes) {
    // Only a CR changes: it becomes LF and swallows an LF right after it. The text never grows, so
    // the stretches between CRs move down within the same buffer.
    char *const begin = bytes.data();
    const char *const end = begin + bytes.size();
    auto nextCr = [end](const char *from) {
        const void *found = std::memchr(from, '\r', static_cast<std::size_t>(end - from));
        return found == nullptr ? end : static_cast<const char *>(found);
    };
    const char *in = nextCr(begin);
    char *out = begin + (in - begin);
    while (in < end) {
        *out++ = '\n';
        in += in + 1 < end && in[1] == '\n' ? 2 : 1;
        const char *const stretchEnd = nextCr(in);
        std::memmove(out, in, static_cast<std::size_t>(stretchEnd - in));
        out += stretchEnd - in;
        in = stretchEnd;
    }
    bytes.resize(static_cast<std::size_t>(out - begin));
    return bytes;
}

std::string TextToFileBytes(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32 * 2);
    const char *position = text.data();
    const char *const end = text.data() + text.size();
    while (position < end) {
        const char *lineEnd = position;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r') {
            ++lineEnd;
        }
        out.append(position, static_cast<std::size_t>(lineEnd - position));
        if (lineEnd == end) {
            break;
        }
        out.append("\r\n");
        const bool crLf = *lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n';
        position = lineEnd + (crLf ? 2 : 1);
    }
    return out;
}

bool ReadsAs(std::string_view bytes, std::string_view text) {
    std::size_t in = 0;
    std::size_t out = 0;
    while (in < bytes.size() && out < text.size()) {
        if (bytes[in] == '\r') {
            if (text[out] != '\n') {
                return false;
            }
            in += in + 1 < bytes.size() && bytes[in + 1] == '\n' ? 2 : 1;
        } else if (bytes[in++] != text[out]) {
            return false;
        }
        ++out;
    }
    return in == bytes.size() && out == text.size();
}

ForeignText ForeignTextIn(std::string_view text) {
    // UTF-32 first: its little-endian mark begins with UTF-16's.
    if (text.starts_with(std::string_view("\xFF\xFE\0\0", 4)) ||
        text.starts_with(std::string_view("\0\0\xFE\xFF", 4))) {
        return ForeignText::Utf32;
    }
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        return ForeignText::Utf16;
    }
    return text.find('\0') == std::string_view::npos ? ForeignText::None : ForeignText::Binary;
}

}  // namespace scrivo
