// Command1_Click on a fake form filled from the input: five texts of any
// length and content, a decimal separator, and perhaps one failing access.
// Every run ends in exactly one of: a result, the message, or one of the four
// errors; an error leaves y and l1 as they were; a result is a whole number of
// hundredths from -327.68 to 327.67 and empties l1; no reference or text is
// left held.
#include <cmath>
#include <string>

#include "commands/commands.h"
#include "fake_form.h"
#include "input.h"
#include "runtime/errors.h"
#include "runtime/number.h"

using commands::TextField;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input input = fuzz::decode(data, size);
    fake::FakeForm form;
    form.separator = fuzz::separator(input);
    form.recording = false;
    const TextField fields[] = {TextField::x1, TextField::y1, TextField::x2, TextField::y2, TextField::x};
    for (std::size_t i = 0; i < 5; ++i) form.set(fields[i], input.text(i));
    form.set(TextField::y, u"before");
    form.setCaption(u"earlier");
    // Options bits 1-3: the access that fails, 1 to 7; 0 for none.
    if (const unsigned failing = (input.options >> 1) & 7; failing != 0) form.failAccess = failing - 1;

    const auto texts = rt::Str::live();
    try {
        commands::Command1_Click(form);
        if (form.caption() == commands::kEqualAbscissas) {
            check(input.text(0) == input.text(2));
            check(form.text(TextField::y) == u"before");
        } else {
            check(form.caption().empty());
            const double y = rt::R8Str(form.text(TextField::y), fuzz::separator(input));
            const double hundredths = std::nearbyint(y * 100);
            check(hundredths / 100 == y && hundredths >= -32768 && hundredths <= 32767);
            check(rt::StrR8(y, fuzz::separator(input)) == form.text(TextField::y));
        }
    } catch (const rt::Error& error) {
        check(error.kind() != rt::ErrorKind::Property || form.failAccess.has_value());
        // A failure of the very last write comes after y was written.
        if (!(error.kind() == rt::ErrorKind::Property && *form.failAccess == 6))
            check(form.text(TextField::y) == u"before");
        check(form.caption() == u"earlier");
    }
    check(form.heldReferences() == 0);
    check(form.log.empty()); // holds only accesses made without a reference
    check(rt::Str::live() == texts);
    return 0;
}
