// One row of the caption table of the task pages: the language-file key whose value becomes the
// control's caption, or, for the pause and stop buttons, the message whose current text does.
#pragma once

#include "text/LangStr.h"

#include <optional>
#include <string_view>

class QWidget;

namespace partsmith {

struct CaptionRow {
    std::string_view key;       // empty for a message row
    std::optional<Msg> message; // set for a message row
    QWidget* control;
};

} // namespace partsmith
