#include "window/report.h"

#include <array>
#include <exception>

#include "commands/commands.h"
#include "runtime/errors.h"
#include "runtime/number.h"
#include "runtime/text.h"

namespace window {

namespace {

using commands::TextField;

std::u16string fieldName(TextField field) {
    return toUtf16(commands::kTextFieldNames[static_cast<std::size_t>(field)]);
}

// How a message names a text the user typed: the runtime's quotation, cut
// to its start when long.
std::u16string quote(std::u16string_view text) { return toUtf16(rt::quote(text)); }

std::u16string unfinished(Command command) {
    return command == Command::Interpolate ? u"没有计算出新的结果；y 中若有数值，仍是之前的结果。"
                                           : u"没有清除全部内容。";
}

// A text the user typed that is not a number: empty, not a number at all,
// or a number beyond what a double holds.
Report badText(std::u16string_view text, bool beyondDouble, std::optional<TextField> field) {
    Report report;
    report.field = field;
    const std::u16string where = field ? fieldName(*field) + u" 中的" : std::u16string();
    if (beyondDouble)
        report.message = where + quote(text) + u"超出了计算机能表示的数的范围：请输入小一些的数。";
    else if (!text.empty())
        report.message = where + quote(text) + u"不是一个数：请改正后再试。";
    else if (field)
        report.message = fieldName(*field) + u" 是空的：请填入一个数。";
    else
        report.message = u"有输入框是空的：请在 x1、y1、x2、y2 和 x 中都填入数字。";
    return report;
}

Report describe(const rt::Error& error, commands::FormFields& form) {
    switch (error.kind()) {
    case rt::ErrorKind::TypeMismatch: {
        const auto& text = static_cast<const rt::TypeMismatch&>(error).text();
        return badText(text, false, convertedField(text, form));
    }
    case rt::ErrorKind::Overflow: {
        const auto& text = static_cast<const rt::Overflow&>(error).text();
        if (!text.empty()) return badText(text, true, convertedField(text, form));
        return {u"结果超出了能显示的范围：只能显示 " + rt::StrR8(-327.68) + u" 到 " + rt::StrR8(327.67)
                    + u" 之间的结果。",
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
    return {u"无法读写控件 " + toUtf16(property.control()) + u" 的 " + toUtf16(property.property()) + u" 属性。",
            {}, std::nullopt};
}

Report internalError(std::string_view what, Command command) {
    return {u"内部错误：" + toUtf16(what), unfinished(command), std::nullopt};
}

} // namespace

std::optional<Report> runCommand(void (*command)(commands::FormFields&), Command which,
                                 commands::FormFields& form) {
    try {
        command(form);
        return std::nullopt;
    } catch (const rt::Error& error) {
        return reportFailure(error, which, form);
    } catch (const std::exception& error) {
        return internalError(error.what(), which);
    }
}

Report reportFailure(const rt::Error& error, Command command, commands::FormFields& form) {
    Report report = describe(error, form);
    report.unfinished = unfinished(command);
    return report;
}


std::optional<TextField> convertedField(std::u16string_view text, commands::FormFields& form) {
    for (const TextField field : commands::kConversionOrder) {
        const auto box = rt::ObjSet(form.textBox(field));
        rt::Str current;
        if (box->GetText(current) != rt::Status::Ok) return std::nullopt;
        if (rt::StrCmp(current.view(), text) == 0) return field;
    }
    return std::nullopt;
}

std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? byte : length == 2 ? byte & 0x1F : length == 3 ? byte & 0x0F : byte & 0x07;
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        }
    }
    return out;
}

} // namespace window
