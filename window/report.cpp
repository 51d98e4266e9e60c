#include "window/report.h"

#include <algorithm>
#include <exception>

#include "commands/commands.h"
#include "runtime/number.h"
#include "runtime/text.h"

namespace window {

namespace {

using commands::TextField;

// Names are ASCII, so each byte is one code unit.
std::u16string widen(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

std::u16string fieldName(TextField field) { return widen(commands::kTextFieldNames[static_cast<std::size_t>(field)]); }

// The field of that control name; none for a text not read from a field.
std::optional<TextField> fieldNamed(std::string_view control) {
    const auto& names = commands::kTextFieldNames;
    const auto found = std::find(names.begin(), names.end(), control);
    if (found == names.end()) return std::nullopt;
    return static_cast<TextField>(found - names.begin());
}

std::u16string unfinished(Command command) {
    return command == Command::Interpolate ? u"没有计算出新的结果；y 中若有数值，仍是之前的结果。"
                                           : u"没有清除全部内容。";
}

// A text that would read as a number with the other decimal separator was
// most likely typed by someone used to that one; say which this system uses.
std::u16string separatorHint(std::u16string_view text, char16_t separator) {
    const char16_t other = separator == u',' ? u'.' : u',';
    try {
        rt::R8Str(text, other);
    } catch (const rt::Error&) {
        return {};
    }
    return u"\n本机的小数点是“" + std::u16string(1, separator) + u"”。";
}

// A text the user typed in `field` that is not a number: empty, not a number
// at all, or a number beyond what a double holds.
Report badText(std::u16string_view text, bool beyondDouble, TextField field, char16_t separator) {
    Report report;
    report.field = field;
    const std::u16string where = fieldName(field) + u" 中的";
    if (beyondDouble)
        report.message = where + quote(text) + u"超出了计算机能表示的数的范围：请输入小一些的数。";
    else if (!text.empty())
        report.message = where + quote(text) + u"不是一个数：请改正后再试。" + separatorHint(text, separator);
    else
        report.message = fieldName(field) + u" 是空的：请填入一个数。";
    return report;
}

Report describe(const rt::Error& error, char16_t separator) {
    switch (error.kind()) {
    case rt::ErrorKind::TypeMismatch:
    case rt::ErrorKind::Overflow: {
        const auto& conversion = static_cast<const rt::ConversionError&>(error);
        const bool beyondDouble = error.kind() == rt::ErrorKind::Overflow;
        if (!beyondDouble || !conversion.text().empty()) {
            // The commands convert only what a field holds, and say which.
            const std::optional<TextField> field = fieldNamed(conversion.control());
            if (!field) return {internalError(std::string("a text of no field: ") + error.what()), {}, std::nullopt};
            return badText(conversion.text(), beyondDouble, *field, separator);
        }
        return {u"结果超出了能显示的范围：只能显示 " + rt::StrR8(commands::kLowestResult, separator) + u" 到 "
                    + rt::StrR8(commands::kHighestResult, separator) + u" 之间的结果。",
                {}, std::nullopt};
    }
    case rt::ErrorKind::FloatingPoint:
        // Only x1 - x2 divides, so a zero divisor means x1 and x2 are equal
        // numbers typed differently; x2 is the one to retype.
        if (static_cast<const rt::FloatingPointError&>(error).fault() == rt::FpFault::DivisionByZero)
            return {u"x1 与 x2 写法不同，却是同一个数，无法差值：请输入两个不同的 x 值。", {}, TextField::x2};
        return {u"计算中的数值超出了计算机能表示的范围：请输入小一些的数。", {}, std::nullopt};
    case rt::ErrorKind::Property: break;
    }
    const auto& property = static_cast<const rt::PropertyError&>(error);
    return {u"无法读写控件 " + widen(property.control()) + u" 的 " + widen(property.property()) + u" 属性。", {},
            std::nullopt};
}

} // namespace

Report internalFailure(std::string_view what, Command command) {
    return Report{internalError(what), unfinished(command), std::nullopt};
}

std::u16string internalError(std::string_view what) { return u"内部错误：" + widen(what); }

Report reportFailure(const rt::Error& error, Command command, char16_t separator) {
    Report report = describe(error, separator);
    report.unfinished = unfinished(command);
    return report;
}

std::u16string quote(std::u16string_view text) {
    // A pasted text can be of any length; a message quotes only its start.
    // Appended piece by piece: GCC 12 at -O3 takes the concatenation of a
    // literal and a string for an overlapping copy (-Wrestrict).
    constexpr std::size_t kQuotedUnits = 40;
    std::size_t cut = text.size();
    if (cut > kQuotedUnits) cut = text[kQuotedUnits - 1] >= 0xD800 && text[kQuotedUnits - 1] <= 0xDBFF ? kQuotedUnits - 1 : kQuotedUnits;
    std::u16string quoted;
    quoted.reserve(cut + 3);
    quoted += u'“';
    quoted.append(text.substr(0, cut));
    if (cut < text.size()) quoted += u'…';
    quoted += u'”';
    return quoted;
}

} // namespace window
