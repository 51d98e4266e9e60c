#include "commands/commands.h"

#include <cstdint>

#include "runtime/number.h"
#include "runtime/text.h"

namespace commands {

namespace {

// Each access holds a reference to its control only for that one access.
rt::Str readText(FormFields& form, TextField field) {
    const auto box = rt::ObjSet(form.textBox(field));
    rt::Str text;
    rt::CheckObjResult(box->GetText(text), *box, "Text");
    return text;
}

void writeText(FormFields& form, TextField field, std::u16string_view text) {
    const auto box = rt::ObjSet(form.textBox(field));
    rt::CheckObjResult(box->LetText(text), *box, "Text");
}

void writeCaption(FormFields& form, std::u16string_view caption) {
    const auto label = rt::ObjSet(form.l1());
    rt::CheckObjResult(label->LetCaption(caption), *label, "Caption");
}

} // namespace

void Command1_Click(FormFields& form) {
    const char16_t separator = form.decimalSeparator();
    // A text that is not a number ends the run with an error naming its field.
    const auto num = [separator](const rt::Str& text) { return rt::R8Str(text, separator); };
    const rt::Str x1 = readText(form, TextField::x1);
    const rt::Str x2 = readText(form, TextField::x2);
    const rt::Str x = readText(form, TextField::x);
    const rt::Str y1 = readText(form, TextField::y1);
    const rt::Str y2 = readText(form, TextField::y2);

    // The abscissas are compared as typed: 1 and 1.0 differ here, and fail
    // below as a division by zero.
    if (rt::StrCmp(x1.view(), x2.view()) == 0) {
        writeCaption(form, kEqualAbscissas);
        return;
    }

    // y = y1 + (x - x1)(y1 - y2) / (x1 - x2), product before quotient and y1
    // added last: this order fixes the last bit of s, and so which way a tie
    // rounds. Each text is converted where it is used, so the first bad text
    // in this order (y1, y2, x, x1, x2) is the one reported; the compound
    // assignments keep that order, which a - b would not.
    double dy = num(y1);
    dy -= num(y2);
    rt::FpCheck(dy);

    double p = num(x);
    p -= num(x1);
    p *= dy;
    rt::FpCheck(p);

    double divisor = num(x1);
    divisor -= num(x2);
    const double q = rt::FpDivide(p, divisor);
    rt::FpCheck(q);

    // With y1 and q finite, s can only overflow to infinity, which FpI2 reports
    // as the range error it is.
    const double s = (num(y1) + q) * 100;
    const std::int16_t k = rt::FpI2(s);
    const rt::Str t(rt::StrR8(k / 100.0, separator));

    writeText(form, TextField::y, t.view());
    writeCaption(form, u"");
}

void Command2_Click(FormFields& form) {
    for (const TextField field : {TextField::x1, TextField::x2, TextField::x, TextField::y1,
                                  TextField::y2, TextField::y})
        writeText(form, field, u"");
    writeCaption(form, u"");
}

} // namespace commands
