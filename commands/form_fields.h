// The window as the commands see it: six named text fields, the message
// label, and the user's decimal separator. The window binds them to its
// controls; tests bind them to a fake.
#pragma once

#include <array>
#include <string_view>

#include "runtime/object.h"

namespace commands {

enum class TextField { x1, y1, x2, y2, x, y };

// The controls' names, indexed by TextField.
inline constexpr std::array<std::string_view, 6> kTextFieldNames = {"x1", "y1", "x2", "y2", "x", "y"};

class FormFields {
public:
    virtual rt::TextBox& textBox(TextField field) = 0;
    virtual rt::Label& l1() = 0;
    // The separator numbers are read and written with, as the user's locale has it.
    virtual char16_t decimalSeparator() const = 0;

protected:
    ~FormFields() = default;
};

} // namespace commands
