// A large generated C program for the editor benchmarks: every token class the colourer knows,
// block comments over two lines and strings with escaped quotes, in the line ends asked for.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline std::string WithLineEnds(const std::string &text, std::string_view lineEnd) {
    std::string converted;
    converted.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') {
            converted += lineEnd;
        } else {
            converted += c;
        }
    }
    return converted;
}

inline std::string GeneratedCProgram(std::size_t minimumBytes, std::string_view lineEnd) {
    std::string text;
    for (int n = 0; text.size() < minimumBytes; ++n) {
        const std::string id = std::to_string(n);
        text += "#include <stdio.h>\n/* block " + id +
                " with several words\n   over two lines */\n"
                "static int table_" +
                id +
                "[16] = {1, 2, 3, 4};\n"
                "int function_" +
                id +
                "(const char *text, unsigned long count) {\n"
                "    int total = 0; // running sum\n"
                "    for (unsigned long i = 0; i < count && text[i] != '\\0'; ++i) {\n"
                "        if (text[i] == '\"' || text[i] >= 'a') total += table_" +
                id +
                "[i % 16];\n"
                "        else total -= (int)sizeof(long) << 2;\n"
                "    }\n"
                "    printf(\"%d items: \\\"%s\\\"\\n\", total, text);\n"
                "    return total;\n}\n\n";
    }
    return lineEnd == "\n" ? text : WithLineEnds(text, lineEnd);
}
