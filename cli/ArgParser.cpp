#include "ArgParser.h"

#include "ExitCode.h"

#include <charconv>
#include <cstdint>

namespace partsmith::cli {

bool ParsedArgs::Has(std::string_view name) const {
    return options_.find(name) != options_.end();
}

std::optional<std::string> ParsedArgs::Value(std::string_view name) const {
    const auto it = options_.find(name);
    if (it == options_.end()) {
        return std::nullopt;
    }
    return it->second;
}

namespace {

const OptionSpec* FindSpec(std::span<const OptionSpec> specs, std::string_view name) {
    for (const auto& spec : specs) {
        if (spec.name == name) {
            return &spec;
        }
    }
    return nullptr;
}

} // namespace

ParsedArgs ParseArgs(const std::vector<std::string>& args, std::span<const OptionSpec> specs) {
    ParsedArgs parsed;
    bool operandsOnly = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (operandsOnly || arg.size() < 2 || arg[0] != '-') {
            parsed.operands_.push_back(arg);
            continue;
        }
        if (arg == "--") {
            operandsOnly = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        if (name == "-h") {
            name = "--help";
        }
        const OptionSpec* spec = FindSpec(specs, name);
        if (spec == nullptr) {
            if (name == "--password" || name == "-p") {
                throw UsageError("a password is never taken from the command line; use "
                                 "--password-file FILE, standard input or the terminal");
            }
            throw UsageError("unknown option '" + name + "'");
        }
        if (!spec->takesValue) {
            if (inlineValue) {
                throw UsageError("option '" + name + "' takes no value");
            }
            parsed.options_[name] = std::nullopt;
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                throw UsageError("option '" + name + "' needs a value");
            }
            inlineValue = args[++i];
        }
        parsed.options_[name] = std::move(inlineValue);
    }
    return parsed;
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    std::int64_t value = 0;
    const auto* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace partsmith::cli
