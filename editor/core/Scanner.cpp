// The C syntax scanner. Character classes are those of the C library in the "C" locale, taken from
// our own tables so that the user's locale can never change what is coloured; bytes from 128 up
// are neither letters nor white space.
#include "Scanner.h"

#include <algorithm>
#include <cstring>

#include "CLocaleText.h"

namespace scrivo {
namespace {

struct ByteTables {
    std::array<bool, 256> isSpace{};
    std::array<bool, 256> isWordStart{};
    std::array<bool, 256> isWordChar{};
};

constexpr ByteTables MakeByteTables() {
    ByteTables tables;
    for (int c = 0; c < 256; ++c) tables.isSpace[c] = IsCSpace(static_cast<char>(c));
    for (int c = 'a'; c <= 'z'; ++c) {
        for (int letter : {c, c - 'a' + 'A'}) {
            tables.isWordStart[letter] = true;
            tables.isWordChar[letter] = true;
        }
    }
    tables.isWordStart['_'] = true;
    tables.isWordChar['_'] = true;
    for (int c = '0'; c <= '9'; ++c) tables.isWordChar[c] = true;
    return tables;
}

constexpr ByteTables kBytes = MakeByteTables();

unsigned char ByteAt(const char *text, std::size_t i) {
    return static_cast<unsigned char>(text[i]);
}

std::size_t WordEnd(const char *text, std::size_t n, std::size_t j) {
    while (j < n && kBytes.isWordChar[ByteAt(text, j)]) ++j;
    return j;
}

// A backslash hides the byte after it, so an escaped quote does not end the literal. Without a
// closing quote the literal runs to the end of the range.
std::size_t StringEnd(const char *text, std::size_t n, std::size_t quote) {
    std::size_t j = quote + 1;
    while (j < n) {
        const char c = text[j];
        if (c == '"') return j + 1;
        j += c == '\\' ? 2 : 1;
    }
    return n;
}

// The line end itself stays outside the comment.
std::size_t LineCommentEnd(const char *text, std::size_t n, std::size_t j) {
    while (j < n && text[j] != '\n' && text[j] != '\r') ++j;
    return j;
}

// `j` is just past the opening "/*", so its star can never close the comment.
std::size_t BlockCommentEnd(const char *text, std::size_t n, std::size_t j) {
    while (j + 1 < n) {
        const void *star = std::memchr(text + j, '*', n - 1 - j);
        if (star == nullptr) break;
        j = static_cast<std::size_t>(static_cast<const char *>(star) - text);
        if (text[j + 1] == '/') return j + 2;
        ++j;
    }
    return n;
}

std::uint64_t LengthBit(std::size_t length) {
    return std::uint64_t{1} << std::min<std::size_t>(length, 63);
}

// The first bytes are known to be equal already.
bool SameTail(const char *entry, const char *text, std::size_t length) {
    for (std::size_t k = 1; k < length; ++k) {
        if (entry[k] != text[k]) return false;
    }
    return true;
}

}  // namespace

WordTables WordTables::Standard() {
    return WordTables{
        .keywords = {"true",     "false",    "bool",    "auto",     "break",  "case",     "char",
                     "const",    "continue", "default", "do",       "double", "else",     "enum",
                     "extern",   "float",    "for",     "goto",     "if",     "int",      "long",
                     "register", "return",   "short",   "signed",   "sizeof", "static",   "struct",
                     "switch",   "typedef",  "union",   "unsigned", "void",   "volatile", "while"},
        .operators = {"++", "--", "+", "-", "*", "/",  "%",  "<", "<=", ">",  ">=", "==", "!=",
                      "&&", "||", "!", "&", "|", "<<", ">>", "~", "^",  "=",  "+=", "-=", "*=",
                      "/=", "%=", "?", ":", ";", "(",  ")",  "}", "{",  "::", ",",  "[",  "]"},
        .directives = {"#define", "#include", "#ifdef", "#endif", "#if", "#else", "#undef",
                       "#pragma", "#error", "#line"},
    };
}

Scanner::FirstByteIndex::FirstByteIndex(const std::vector<std::string> &entries, Order order) {
    std::vector<std::string_view> sorted;
    for (const std::string &entry : entries) {
        if (!entry.empty()) sorted.emplace_back(entry);
    }
    std::ranges::stable_sort(sorted, [order](std::string_view a, std::string_view b) {
        const auto firstA = static_cast<unsigned char>(a.front());
        const auto firstB = static_cast<unsigned char>(b.front());
        if (firstA != firstB) return firstA < firstB;
        return order == Order::LongestFirst && a.size() > b.size();
    });
    for (std::string_view entry : sorted) {
        const auto first = static_cast<unsigned char>(entry.front());
        m_entries.push_back(
            {static_cast<std::uint32_t>(m_pool.size()), static_cast<std::uint32_t>(entry.size())});
        m_pool += entry;
        ++m_groupStart[first + 1];
        m_lengthMasks[first] |= LengthBit(entry.size());
    }
    for (std::size_t b = 1; b < m_groupStart.size(); ++b) m_groupStart[b] += m_groupStart[b - 1];
}

bool Scanner::FirstByteIndex::Contains(const char *word, std::size_t length) const {
    const auto first = static_cast<unsigned char>(word[0]);
    if ((m_lengthMasks[first] & LengthBit(length)) == 0) return false;
    for (std::uint32_t k = m_groupStart[first]; k < m_groupStart[first + 1]; ++k) {
        const Entry &entry = m_entries[k];
        if (entry.length == length && SameTail(m_pool.data() + entry.offset, word, length)) {
            return true;
        }
    }
    return false;
}

std::size_t Scanner::FirstByteIndex::FirstPrefix(const char *rest, std::size_t available) const {
    const auto first = static_cast<unsigned char>(rest[0]);
    for (std::uint32_t k = m_groupStart[first]; k < m_groupStart[first + 1]; ++k) {
        const Entry &entry = m_entries[k];
        if (entry.length <= available &&
            SameTail(m_pool.data() + entry.offset, rest, entry.length)) {
            return entry.length;
        }
    }
    return 0;
}

Scanner::Scanner(const WordTables &tables)
    : m_keywords(tables.keywords, FirstByteIndex::Order::Table),
      m_operators(tables.operators, FirstByteIndex::Order::LongestFirst),
      m_directives(tables.directives, FirstByteIndex::Order::Table) {
    for (int b = 0; b < 256; ++b) {
        const auto c = static_cast<unsigned char>(b);
        Action action = m_operators.HasEntriesStartingWith(c) ? Action::Operator : Action::Skip;
        if (kBytes.isSpace[c]) action = Action::Skip;
        if (kBytes.isWordStart[c]) action = Action::Word;
        if (c == '"') action = Action::Quote;
        if (c == '/') action = Action::Slash;
        if (c == '#') action = Action::Hash;
        m_actions[c] = action;
    }
}

template <typename Emit>
void Scanner::ForEachRun(std::string_view text, Emit &&emit) const {
    const char *s = text.data();
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        switch (m_actions[ByteAt(s, i)]) {
            case Action::Skip:
                // White space, digits and bytes that start nothing: stay in the text colour.
                do ++i;
                while (i < n && m_actions[ByteAt(s, i)] == Action::Skip);
                continue;
            case Action::Quote: {
                const std::size_t end = StringEnd(s, n, i);
                emit(i, end, ColorSlot::String);
                i = end;
                continue;
            }
            case Action::Slash:
                if (i + 1 < n && (s[i + 1] == '/' || s[i + 1] == '*')) {
                    const std::size_t end = s[i + 1] == '/' ? LineCommentEnd(s, n, i + 2)
                                                            : BlockCommentEnd(s, n, i + 2);
                    emit(i, end, ColorSlot::Comment);
                    i = end;
                    continue;
                }
                break;
            case Action::Hash: {
                const std::size_t end = WordEnd(s, n, i + 1);
                if (m_directives.Contains(s + i, end - i)) {
                    emit(i, end, ColorSlot::Directive);
                }
                i = end;
                continue;
            }
            case Action::Word: {
                const std::size_t end = WordEnd(s, n, i + 1);
                if (m_keywords.Contains(s + i, end - i)) {
                    emit(i, end, ColorSlot::Keyword);
                }
                i = end;
                continue;
            }
            case Action::Operator:
                break;
        }
        const std::size_t length = m_operators.FirstPrefix(s + i, n - i);
        if (length > 0) {
            emit(i, i + length, ColorSlot::Operator);
            i += length;
        } else {
            ++i;
        }
    }
}

void Scanner::Scan(std::string_view text, std::vector<Run> &runs) const {
    ForEachRun(text, [&runs](std::size_t start, std::size_t end, ColorSlot slot) {
        runs.push_back({start, end, slot});
    });
}

void Scanner::PaintSlots(std::string_view text, std::size_t pieceBytes,
                         const SlotPainter &paint) const {
    if (text.empty()) return;
    std::string piece(std::clamp<std::size_t>(pieceBytes, 1, text.size()), '\0');
    std::size_t pieceStart = 0;
    std::size_t filled = 0;
    const auto paintUpTo = [&](std::size_t end, ColorSlot slot) {
        while (pieceStart + filled < end) {
            const std::size_t count = std::min(end - pieceStart - filled, piece.size() - filled);
            std::memset(piece.data() + filled, static_cast<int>(slot), count);
            filled += count;
            if (filled == piece.size()) {
                paint(pieceStart, piece);
                pieceStart += filled;
                filled = 0;
            }
        }
    };
    ForEachRun(text, [&paintUpTo](std::size_t start, std::size_t end, ColorSlot slot) {
        paintUpTo(start, ColorSlot::Text);
        paintUpTo(end, slot);
    });
    paintUpTo(text.size(), ColorSlot::Text);
    if (filled > 0) paint(pieceStart, std::string_view(piece.data(), filled));
}

}  // namespace scrivo
