// The message table: every log line, status text and box text of the task pages and engines,
// known by key, with built-in English defaults that a language file may replace.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "text/Format.h"

namespace partsmith {

enum class Msg : std::size_t {
#define X(key, text) key,
#include "text/Messages.def"
#undef X
    Count_
};

inline constexpr std::size_t kMessageCount = static_cast<std::size_t>(Msg::Count_);

// The key as it stands in a language file ("SplitEnds").
std::string_view MsgKey(Msg id);
// The built-in English text.
std::string_view MsgDefault(Msg id);
// The message whose key matches without regard to case.
std::optional<Msg> MsgForKey(std::string_view key);

class MessageTable {
public:
    MessageTable(); // every text at its default
    [[nodiscard]] const std::string& Text(Msg id) const;
    void Set(Msg id, std::string text);

private:
    std::array<std::string, kMessageCount> texts_;
};

// The program's table. Written only while no task runs (start-up, the Configure page's OK);
// workers read it while it is constant.
MessageTable& Messages();

// FormatWide of the current text of id with args.
std::string Message(Msg id, std::initializer_list<FormatArg> args = {});

} // namespace partsmith
