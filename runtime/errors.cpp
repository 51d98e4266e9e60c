#include "runtime/errors.h"

#include <cstdint>

namespace rt {

namespace {

const char* describe(FpFault fault) {
    switch (fault) {
    case FpFault::DivisionByZero: return "浮点错误：除数为零";
    case FpFault::Overflow: return "浮点错误：数值超出范围";
    case FpFault::InvalidOperation: break;
    }
    return "浮点错误：无效运算";
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        char32_t c = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()
            && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::string quote(std::u16string_view text) {
    // A pasted text can be of any length; a message quotes only its start.
    constexpr std::size_t kQuotedUnits = 40;
    std::string quoted = "“";
    if (text.size() > kQuotedUnits) {
        // Do not cut a surrogate pair in half.
        std::size_t cut = kQuotedUnits;
        if (text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;
        quoted += toUtf8(text.substr(0, cut)) + "…";
    } else {
        quoted += toUtf8(text);
    }
    return quoted + "”";
}

TypeMismatch::TypeMismatch(std::u16string text)
    : Error(ErrorKind::TypeMismatch,
            text.empty() ? std::string("类型不匹配：空白不是数字")
                         : "类型不匹配：" + quote(text) + "不是数字"),
      text_(std::move(text)) {}

Overflow::Overflow(std::u16string text)
    : Error(ErrorKind::Overflow,
            text.empty() ? std::string("溢出：结果超出了可以显示的范围")
                         : "溢出：" + quote(text) + "超出了数的范围"),
      text_(std::move(text)) {}

FloatingPointError::FloatingPointError(FpFault fault)
    : Error(ErrorKind::FloatingPoint, describe(fault)), fault_(fault) {}

PropertyError::PropertyError(std::string control, std::string property)
    : Error(ErrorKind::Property, "属性错误：无法访问控件 " + control + " 的 " + property + " 属性"),
      control_(std::move(control)), property_(std::move(property)) {}

} // namespace rt
