// What the user is told when a click fails, for both windows: the message,
// the line saying what the click left undone, and the field to put the cursor
// in. Toolkit-free; each window only shows the texts and moves the focus.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "commands/form_fields.h"
#include "runtime/errors.h"

namespace window {

enum class Command { Interpolate, Clear };

struct Report {
    std::u16string message;
    std::u16string unfinished; // what the click did not do
    // The field whose text caused the failure; its text is selected so that
    // typing replaces it. None when the failure is not in one field.
    std::optional<commands::TextField> field;
};

// Runs a command on `form` where a click arrives, and returns what to tell
// the user when it failed: a command's error must never cross the toolkit's
// event loop, so this is the one place that catches it.
std::optional<Report> runCommand(void (*command)(commands::FormFields&), Command which,
                                 commands::FormFields& form);

// The report for an error that a command raised on `form`. Reads the input
// fields' texts through the form to find the failing one; a read that fails
// only means no field is named.
Report reportFailure(const rt::Error& error, Command command, commands::FormFields& form);

// The field a conversion error came from: the first field, in the order the
// interpolation converts them, whose text is `text`. An earlier field with the
// same text would have failed first, so this is the one.
std::optional<commands::TextField> convertedField(std::u16string_view text, commands::FormFields& form);

// UTF-8 to UTF-16, for the layout's captions.
std::u16string toUtf16(std::string_view utf8);

} // namespace window
