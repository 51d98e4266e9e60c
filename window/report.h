// What the user is told when a click fails, for every window: the message,
// the line saying what the click left undone, and the field to put the cursor
// in. Toolkit-free; each window only shows the texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "commands/form_fields.h"
#include "runtime/errors.h"
#include "window/layout.h"

namespace window {

struct Report {
    std::u16string message;
    std::u16string unfinished; // what the click did not do
    // The field whose text caused the failure; its text is selected so that
    // typing replaces it. None when the failure is not in one field.
    std::optional<commands::TextField> field;
};

// The report for an error that a command raised, on a form whose numbers
// use `separator`. A conversion error names the field it read.
Report reportFailure(const rt::Error& error, Command command, char16_t separator);

// The report for a failure of `command` that is none of the runtime's errors
// (out of memory, most likely); `what` is its ASCII text.
Report internalFailure(std::string_view what, Command command);

// The message for a failure that is none of the runtime's errors (out of
// memory, most likely), whatever it interrupted; `what` is its ASCII text.
std::u16string internalError(std::string_view what);

// How a message names a text the user typed: in Chinese quotation marks, cut
// to its first 40 code units and "…" when longer, never inside a surrogate pair.
std::u16string quote(std::u16string_view text);

} // namespace window
