#include "CompileHints.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace orvex {
namespace {

using Json = nlohmann::json;

constexpr int kTabStop = 8;  // the editor's

// A place in the learner's file: line and byte column, both from 1.
struct Place {
    int Line = 0;
    int Column = 0;
};

// The learner's file as its lines, and the same lines with comments and the contents of string
// and character constants blanked out, so that braces and code are found where the compiler
// finds them.
class Source {
  public:
    explicit Source(std::string_view text) {
        enum class State { Code, LineComment, BlockComment, Quoted };
        State state = State::Code;
        char quote = 0;
        std::string line;
        std::string code;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            const char next = i + 1 < text.size() ? text[i + 1] : '\0';
            // The editor ends its lines with CR LF; the CR belongs to the line end, not the code.
            if (c == '\r' && next == '\n') {
                continue;
            }
            if (c == '\n') {
                // A string left open ends with its line, as the compiler takes it, unless a
                // backslash carries it on.
                if (state == State::LineComment ||
                    (state == State::Quoted && (line.empty() || line.back() != '\\'))) {
                    state = State::Code;
                }
                Lines.push_back(std::move(line));
                CodeLines.push_back(std::move(code));
                line.clear();
                code.clear();
                continue;
            }
            line += c;
            char kept = ' ';
            switch (state) {
                case State::Code:
                    if (c == '/' && next == '/') {
                        state = State::LineComment;
                    } else if (c == '/' && next == '*') {
                        state = State::BlockComment;
                        // The '*' must not also end the comment it opens.
                        line += next;
                        code += "  ";
                        ++i;
                        continue;
                    } else {
                        kept = c;
                        if (c == '"' || c == '\'') {
                            state = State::Quoted;
                            quote = c;
                        }
                    }
                    break;
                case State::LineComment:
                    break;
                case State::BlockComment:
                    if (c == '*' && next == '/') {
                        state = State::Code;
                        line += next;
                        code += "  ";
                        ++i;
                        continue;
                    }
                    break;
                case State::Quoted:
                    if (c == '\\' && next != '\n' && next != '\0') {
                        line += next;
                        code += "  ";
                        ++i;
                        continue;
                    }
                    if (c == quote) {
                        state = State::Code;
                        kept = c;
                    }
                    break;
            }
            code += kept;
        }
        Lines.push_back(std::move(line));
        CodeLines.push_back(std::move(code));
    }

    // Line `number` (from 1), empty when the file has no such line.
    std::string_view Line(int number) const { return At(Lines, number); }
    std::string_view Code(int number) const { return At(CodeLines, number); }
    int LineCount() const { return static_cast<int>(Lines.size()); }

  private:
    static std::string_view At(const std::vector<std::string> &lines, int number) {
        return number >= 1 && number <= static_cast<int>(lines.size())
                   ? std::string_view(lines[static_cast<std::size_t>(number - 1)])
                   : std::string_view();
    }

    std::vector<std::string> Lines;
    std::vector<std::string> CodeLines;
};

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\f\v") == text.npos;
}

bool IsNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != text.npos;
}

// The width of the line's leading white space, tabs to the editor's tab stops.
int Indent(std::string_view line) {
    int width = 0;
    for (const char c : line) {
        if (c == ' ') {
            ++width;
        } else if (c == '\t') {
            width += kTabStop - width % kTabStop;
        } else {
            break;
        }
    }
    return width;
}

// "expected ';' before 'return'", "expected ',' or ';' before 'printf'", "expected ';', identifier
// or '(' before 'int'" (after a struct); not a list in parentheses, where a ',' or ')' is missing.
bool ExpectsSemicolon(std::string_view message) {
    const std::size_t before = message.find(" before ");
    if (message.rfind("expected ", 0) != 0 || before == message.npos) {
        return false;
    }
    const std::string_view expected = message.substr(0, before);
    return Contains(expected, "';'") && !Contains(expected, "')'");
}

// The name at the start of `text`, past the quote that the linkers put around it in one style or
// another (`name', 'name', a typographic quote) or none.
std::string LinkedName(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && !IsNameCharacter(text[start]) &&
           (text[start] == '`' || text[start] == '\'' ||
            static_cast<unsigned char>(text[start]) >= 0x80)) {
        ++start;
    }
    std::size_t end = start;
    while (end < text.size() && IsNameCharacter(text[end])) {
        ++end;
    }
    return std::string(text.substr(start, end - start));
}

// A place before the linker's message, without the ": " that joins them.
std::string_view TrimmedPlace(std::string_view place) {
    while (!place.empty() && (place.back() == ' ' || place.back() == ':')) {
        place.remove_suffix(1);
    }
    return place;
}

// The member `key` of `object`, or null when `object` is no object or has no such member.
const Json *Member(const Json &object, const char *key) {
    if (!object.is_object()) {
        return nullptr;
    }
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

std::string_view Text(const Json &object, const char *key) {
    const Json *member = Member(object, key);
    return member != nullptr && member->is_string()
               ? std::string_view(member->get_ref<const std::string &>())
               : std::string_view();
}

int Number(const Json &object, const char *key) {
    const Json *member = Member(object, key);
    return member != nullptr && member->is_number_integer() ? member->get<int>() : 0;
}

// The members of an array member, or nothing.
const Json &Items(const Json &object, const char *key) {
    static const Json kNone = Json::array();
    const Json *member = Member(object, key);
    return member != nullptr && member->is_array() ? *member : kNone;
}

// GCC writes its diagnostics as one array; anything else is no diagnostics.
Json ParseDiagnostics(std::string_view text) {
    Json parsed = Json::parse(text, nullptr, false);
    return parsed.is_array() ? parsed : Json::array();
}

class Explainer {
  public:
    explicit Explainer(const BuildMessages &messages)
        : Messages(messages),
          File(messages.SourceText),
          Diagnostics(ParseDiagnostics(messages.Diagnostics)) {}

    std::string Explain() const {
        for (const Json &diagnostic : Diagnostics) {
            if (Text(diagnostic, "kind") == "error") {
                return ExplainError(diagnostic);
            }
        }
        if (std::string sentence = ExplainUnknownFunctionAtLink(); !sentence.empty()) {
            return sentence;
        }
        for (const Json &diagnostic : Diagnostics) {
            if (std::string sentence = ExplainMissingHeader(diagnostic); !sentence.empty()) {
                return sentence;
            }
        }
        return {};
    }

  private:
    // Where `position` (a caret, start, finish or next) is, when it is in the learner's file.
    std::optional<Place> InFile(const Json *position) const {
        if (position == nullptr) {
            return std::nullopt;
        }
        const Place place{Number(*position, "line"), Number(*position, "byte-column") != 0
                                                         ? Number(*position, "byte-column")
                                                         : Number(*position, "column")};
        if (Text(*position, "file") != Messages.SourcePath || place.Line < 1 || place.Column < 1) {
            return std::nullopt;
        }
        return place;
    }

    std::optional<Place> Caret(const Json &diagnostic) const {
        const Json &locations = Items(diagnostic, "locations");
        return locations.empty() ? std::nullopt : InFile(Member(locations.front(), "caret"));
    }

    // The name that begins at the diagnostic's caret in the file.
    std::string NameAt(const Json &diagnostic) const {
        const std::optional<Place> caret = Caret(diagnostic);
        if (!caret) {
            return {};
        }
        const std::string_view line = File.Line(caret->Line);
        std::size_t end = static_cast<std::size_t>(caret->Column - 1);
        const std::size_t begin = std::min(end, line.size());
        while (end < line.size() && IsNameCharacter(line[end])) {
            ++end;
        }
        return std::string(line.substr(begin, end - begin));
    }

    // The text of the first fix-it of `diagnostic` in the file whose text `accept` takes, and
    // where it goes.
    template <typename Accept>
    std::optional<std::pair<std::string, Place>> FixIt(const Json &diagnostic,
                                                       Accept accept) const {
        for (const Json &fixIt : Items(diagnostic, "fixits")) {
            const std::string_view text = Text(fixIt, "string");
            const std::optional<Place> start = InFile(Member(fixIt, "start"));
            if (start && accept(text)) {
                return std::pair(std::string(text), *start);
            }
        }
        return std::nullopt;
    }

    static bool IsName(std::string_view text) {
        return !text.empty() && !std::isdigit(static_cast<unsigned char>(text.front())) &&
               std::all_of(text.begin(), text.end(), IsNameCharacter);
    }

    std::optional<std::string> SuggestedName(const Json &diagnostic) const {
        const auto fixIt = FixIt(diagnostic, IsName);
        return fixIt ? std::optional(fixIt->first) : std::nullopt;
    }

    std::string ExplainError(const Json &error) const {
        const std::string_view message = Text(error, "message");
        if (!Caret(error)) {
            return {};
        }
        if (ExpectsSemicolon(message)) {
            return ExplainMissingSemicolon(error);
        }
        if (Contains(message, "at end of input")) {
            return ExplainUnclosedBrace();
        }
        if (Contains(message, "undeclared")) {
            return ExplainUndeclared(error);
        }
        if (Contains(Text(error, "option"), "implicit-function-declaration")) {
            if (std::string sentence = ExplainMissingHeader(error); !sentence.empty()) {
                return sentence;
            }
            return ExplainUnknownFunction(NameAt(error), Caret(error)->Line, SuggestedName(error));
        }
        return {};
    }

    // GCC names the token after the missing ';', which is most often on the next line; when it
    // offers to insert the ';' itself, that place is better.
    std::string ExplainMissingSemicolon(const Json &error) const {
        const auto insertion = FixIt(error, [](std::string_view text) { return text == ";"; });
        Place place = insertion ? insertion->second : *Caret(error);
        std::string_view code = File.Code(place.Line);
        const std::size_t column =
            std::min(static_cast<std::size_t>(place.Column - 1), code.size());
        if (IsBlank(code.substr(0, column))) {
            do {
                --place.Line;
            } while (place.Line >= 1 && IsBlank(File.Code(place.Line)));
            if (place.Line < 1) {
                return {};
            }
            code = File.Code(place.Line);
            place.Column = static_cast<int>(code.size()) + 1;
        }
        const std::size_t at = std::min(static_cast<std::size_t>(place.Column - 1), code.size());
        const std::string line = std::to_string(place.Line);
        const std::size_t token = code.find_first_not_of(" \t", at);
        if (token == code.npos) {
            return "probably a ';' is missing at the end of line " + line + "; add it there";
        }
        std::size_t end = token + 1;
        while (IsNameCharacter(code[token]) && end < code.size() && IsNameCharacter(code[end])) {
            ++end;
        }
        return "probably a ';' is missing on line " + line + ", just before " +
               std::string(File.Line(place.Line).substr(token, end - token)) + "; add it there";
    }

    // The '{' left open is most often the one whose block the next '}' at the start of a line
    // clearly does not close: that '}' stands left of the line that opened the block.
    std::string ExplainUnclosedBrace() const {
        struct Opening {
            int Line;
            int Indent;
        };
        std::vector<Opening> open;
        std::optional<int> misaligned;
        for (int number = 1; number <= File.LineCount(); ++number) {
            const std::string_view code = File.Code(number);
            for (std::size_t i = 0; i < code.size(); ++i) {
                if (code[i] == '{') {
                    open.push_back({number, Indent(code)});
                } else if (code[i] == '}' && !open.empty()) {
                    if (!misaligned && IsBlank(code.substr(0, i)) &&
                        Indent(code) < open.back().Indent) {
                        misaligned = open.back().Line;
                    }
                    open.pop_back();
                }
            }
        }
        if (open.empty()) {
            return {};
        }
        return "a '}' is missing: the '{' on line " +
               std::to_string(misaligned ? *misaligned : open.back().Line) +
               " is probably never closed; add a '}' where its block ends";
    }

    std::string ExplainUndeclared(const Json &error) const {
        const std::string name = NameAt(error);
        if (name.empty()) {
            return {};
        }
        const std::string line = std::to_string(Caret(error)->Line);
        if (const std::optional<std::string> meant = SuggestedName(error)) {
            return name + " on line " + line + " has not been declared; if you meant " + *meant +
                   ", correct the name there";
        }
        return name + " on line " + line +
               " has not been declared; declare it before that line, or correct the name";
    }

    static std::string ExplainUnknownFunction(const std::string &name, int line,
                                              const std::optional<std::string> &meant) {
        if (name.empty()) {
            return {};
        }
        const std::string called = line > 0 ? ", called on line " + std::to_string(line) + "," : "";
        return name + called + " is an unknown function; " +
               (meant ? "if you meant " + *meant + ", correct the name there"
                      : "correct its name, or write the function");
    }

    // A function of the standard library called without its header: GCC offers to include it.
    std::string ExplainMissingHeader(const Json &diagnostic) const {
        if (!Contains(Text(diagnostic, "option"), "implicit-function-declaration")) {
            return {};
        }
        for (const Json &note : Items(diagnostic, "children")) {
            const auto include =
                FixIt(note, [](std::string_view text) { return text.rfind("#include", 0) == 0; });
            if (include) {
                const std::string line = include->first.substr(0, include->first.find('\n'));
                const std::size_t header = line.find_first_of("<\"");
                if (header == line.npos) {
                    return {};
                }
                return NameAt(diagnostic) + " is declared in " + line.substr(header) +
                       ": add the line " + line + " above line " +
                       std::to_string(include->second.Line);
            }
        }
        return {};
    }

    // The linker names a function that no file defines, the line of the call when the program
    // has debugging information, and lld a name it might have meant. GNU ld: "ball.c:4: undefined
    // reference to `prinft'"; gold: "ball.c:4: error: undefined reference to 'prinft'"; lld:
    // "undefined symbol: prinft", then ">>> referenced by ball.c:4 (...)", ">>> did you mean:
    // printf".
    std::string ExplainUnknownFunctionAtLink() const {
        constexpr std::string_view kReference = "undefined reference to ";
        constexpr std::string_view kSymbol = "undefined symbol: ";
        constexpr std::string_view kReferencedBy = ">>> referenced by ";
        constexpr std::string_view kMeant = ">>> did you mean: ";
        std::string name;
        int line = 0;
        std::optional<std::string> meant;
        std::string_view rest = Messages.LinkerOutput;
        while (!rest.empty()) {
            const std::string_view text = rest.substr(0, rest.find('\n'));
            rest.remove_prefix(std::min(rest.size(), text.size() + 1));
            if (name.empty()) {
                if (const std::size_t at = text.find(kReference); at != text.npos) {
                    name = LinkedName(text.substr(at + kReference.size()));
                    std::string_view place = TrimmedPlace(text.substr(0, at));
                    if (place.size() >= 5 && place.substr(place.size() - 5) == "error") {
                        place = TrimmedPlace(place.substr(0, place.size() - 5));
                    }
                    line = LineIn(place);
                } else if (const std::size_t symbol = text.find(kSymbol); symbol != text.npos) {
                    name = LinkedName(text.substr(symbol + kSymbol.size()));
                }
            } else if (text.rfind(kReferencedBy, 0) == 0 && line == 0) {
                const std::string_view place = text.substr(kReferencedBy.size());
                line = LineIn(place.substr(0, place.find(' ')));
            } else if (text.rfind(kMeant, 0) == 0) {
                meant = LinkedName(text.substr(kMeant.size()));
            } else if (text.rfind(">>> ", 0) != 0) {
                break;
            }
        }
        if (name.empty()) {
            return {};
        }
        for (const Json &diagnostic : Diagnostics) {
            if (Contains(Text(diagnostic, "option"), "implicit-function-declaration") &&
                NameAt(diagnostic) == name) {
                if (std::optional<std::string> suggested = SuggestedName(diagnostic)) {
                    meant = std::move(suggested);
                }
                break;
            }
        }
        return ExplainUnknownFunction(name, line, meant);
    }

    // The line of "FILE:LINE" when FILE is the learner's file, else 0.
    int LineIn(std::string_view place) const {
        const std::size_t colon = place.rfind(':');
        int line = 0;
        if (colon != place.npos && std::filesystem::path(place.substr(0, colon)).filename() ==
                                       std::filesystem::path(Messages.SourcePath).filename()) {
            const std::string_view digits = place.substr(colon + 1);
            std::from_chars(digits.data(), digits.data() + digits.size(), line);
        }
        return line;
    }

    const BuildMessages &Messages;
    const Source File;
    const Json Diagnostics;
};

}  // namespace

std::string ExplainMistake(const BuildMessages &messages) {
    return Explainer(messages).Explain();
}

}  // namespace orvex
