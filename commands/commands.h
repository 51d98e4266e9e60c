// The two actions behind the window's buttons. Each either completes or lets
// a runtime error (rt::Error) pass to its caller; on an error the fields it has
// not yet written keep their text, and every text and control reference it
// took has been released.
#pragma once

#include <cstdint>
#include <limits>
#include <string_view>

#include "commands/form_fields.h"

namespace commands {

// Shown in l1 when the texts of x1 and x2 are identical.
inline constexpr std::u16string_view kEqualAbscissas = u"x1与x2相等，无法差值";

// "差 值": writes into y the ordinate at x on the line through (x1, y1) and
// (x2, y2), rounded to hundredths, and empties l1; or, when the texts of x1 and
// x2 are identical, writes kEqualAbscissas into l1 and leaves y alone.
void Command1_Click(FormFields& form);

// y counts hundredths in a signed 16-bit integer, so it shows no more than this.
inline constexpr double kLowestResult = std::numeric_limits<std::int16_t>::min() / 100.0;
inline constexpr double kHighestResult = std::numeric_limits<std::int16_t>::max() / 100.0;

// "清 除": empties x1, x2, x, y1, y2 and y, in that order, then l1.
void Command2_Click(FormFields& form);

} // namespace commands
