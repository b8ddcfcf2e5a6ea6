#include "text/CommandLine.h"

namespace partsmith {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool EscapableInDoubleQuotes(char c) {
    return c == '"' || c == '\\' || c == '$' || c == '`';
}

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false; // a quote pair makes a word even when it holds nothing
    std::size_t i = 0;
    const std::size_t n = commandLine.size();
    while (i < n) {
        const char c = commandLine[i];
        if (IsBlank(c)) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            ++i;
        } else if (c == '\'') {
            inWord = true;
            ++i;
            while (i < n && commandLine[i] != '\'')
                word += commandLine[i++];
            if (i < n)
                ++i;
        } else if (c == '"') {
            inWord = true;
            ++i;
            while (i < n && commandLine[i] != '"') {
                if (commandLine[i] == '\\' && i + 1 < n &&
                    EscapableInDoubleQuotes(commandLine[i + 1]))
                    ++i;
                word += commandLine[i++];
            }
            if (i < n)
                ++i;
        } else if (c == '\\' && i + 1 < n) {
            inWord = true;
            word += commandLine[i + 1];
            i += 2;
        } else {
            inWord = true;
            word += c;
            ++i;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

} // namespace partsmith
