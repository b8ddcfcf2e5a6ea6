#include "Password.h"

#include "CliTexts.h"
#include "ExitCode.h"
#include "Terminal.h"
#include "io/File.h"
#include "split/EngineCommon.h"

#include <array>
#include <cstddef>

namespace partsmith::cli {

namespace {

Secret FirstLineOfFile(FileSystem& files, const std::filesystem::path& path) {
    Secret line;
    try {
        const auto input = files.OpenRead(path);
        std::array<std::byte, 4096> chunk{};
        bool ended = false;
        while (!ended) {
            const std::size_t n = input->Read(chunk);
            if (n == 0) {
                break;
            }
            for (std::size_t i = 0; i < n; ++i) {
                const char c = static_cast<char>(chunk[i]);
                if (c == '\n') {
                    ended = true;
                    break;
                }
                line.Append(c);
            }
        }
        WipeBytes(chunk.data(), chunk.size());
    } catch (const IoError& error) {
        throw CommandFailure(kExitFailure, IoFailureText(error));
    }
    if (!line.View().empty() && line.View().back() == '\r') {
        Secret trimmed(line.View().substr(0, line.View().size() - 1));
        return trimmed;
    }
    return line;
}

} // namespace

Secret ObtainPassword(Terminal& terminal, FileSystem& files,
                      const std::optional<std::filesystem::path>& passwordFile, PasswordUse use) {
    if (passwordFile) {
        return FirstLineOfFile(files, *passwordFile);
    }
    Secret password;
    if (!terminal.InputIsTerminal()) {
        if (!terminal.ReadInputLine(password)) {
            throw UsageError(texts::kNoPasswordOnInput);
        }
        return password;
    }
    if (!terminal.ReadHidden(texts::kPasswordPrompt, password)) {
        throw CommandFailure(kExitStopped, texts::kPasswordNotEntered);
    }
    if (use == PasswordUse::Split) {
        Secret again;
        if (!terminal.ReadHidden(texts::kPasswordAgainPrompt, again)) {
            throw CommandFailure(kExitStopped, texts::kPasswordNotEntered);
        }
        if (!(again == password)) {
            throw UsageError(texts::kPasswordsDiffer);
        }
    }
    return password;
}

} // namespace partsmith::cli
