#include "text/CommandLine.h"

#include "text/Format.h"

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

std::string LaunchCommandLine(std::string_view launchText, std::string_view path) {
    std::string result;
    std::size_t pieceStart = 0;
    std::size_t i = 0;
    while (i < launchText.size()) {
        if (launchText[i] == '%' && i + 1 < launchText.size()) {
            if (launchText[i + 1] == 's') {
                result += FormatWide(launchText.substr(pieceStart, i - pieceStart), {});
                result += path;
                i += 2;
                pieceStart = i;
                continue;
            }
            if (launchText[i + 1] == '%') {
                i += 2;
                continue;
            }
        }
        ++i;
    }
    result += FormatWide(launchText.substr(pieceStart), {});
    return result;
}

} // namespace partsmith
