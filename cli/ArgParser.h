// Options and operands of one command: "--name value", "--name=value", flags, and "--" before
// operands that begin with "-".
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace partsmith::cli {

struct OptionSpec {
    std::string_view name; // with its dashes: "--size"
    bool takesValue;
};

class ParsedArgs {
public:
    [[nodiscard]] bool Has(std::string_view name) const;
    [[nodiscard]] std::optional<std::string> Value(std::string_view name) const;
    [[nodiscard]] const std::vector<std::string>& Operands() const { return operands_; }

private:
    friend ParsedArgs ParseArgs(const std::vector<std::string>&, std::span<const OptionSpec>);
    std::map<std::string, std::optional<std::string>, std::less<>> options_;
    std::vector<std::string> operands_;
};

// Raises UsageError for an unknown option, a missing value, or a value given to a flag. An
// option given twice keeps its last value. "-h" stands for "--help".
ParsedArgs ParseArgs(const std::vector<std::string>& args, std::span<const OptionSpec> specs);

// Whole decimal numbers of the command line; nullopt for anything else (signs allowed).
std::optional<std::int64_t> ParseWholeNumber(std::string_view text);

} // namespace partsmith::cli
