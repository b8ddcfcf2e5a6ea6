#include "text/LangStr.h"

#include "text/TextCase.h"

namespace partsmith {
namespace {

constexpr std::array<std::string_view, kMessageCount> kKeys = {
#define X(key, text) #key,
#include "text/Messages.def"
#undef X
};

constexpr std::array<std::string_view, kMessageCount> kDefaults = {
#define X(key, text) text,
#include "text/Messages.def"
#undef X
};

} // namespace

std::string_view MsgKey(Msg id) {
    return kKeys.at(static_cast<std::size_t>(id));
}

std::string_view MsgDefault(Msg id) {
    return kDefaults.at(static_cast<std::size_t>(id));
}

std::optional<Msg> MsgForKey(std::string_view key) {
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        if (EqualsIgnoringCase(kKeys[i], key)) {
            return static_cast<Msg>(i);
        }
    }
    return std::nullopt;
}

MessageTable::MessageTable() {
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        texts_[i] = std::string(kDefaults[i]);
    }
}

const std::string& MessageTable::Text(Msg id) const {
    return texts_.at(static_cast<std::size_t>(id));
}

void MessageTable::Set(Msg id, std::string text) {
    texts_.at(static_cast<std::size_t>(id)) = std::move(text);
}

MessageTable& Messages() {
    static MessageTable table;
    return table;
}

std::string Message(Msg id, std::initializer_list<FormatArg> args) {
    return FormatWide(Messages().Text(id), args);
}

} // namespace partsmith
