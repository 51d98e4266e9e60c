// The window as the commands see it: six named text fields and the message
// label. The window binds them to its controls; tests bind them to a fake.
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

protected:
    ~FormFields() = default;
};

} // namespace commands
