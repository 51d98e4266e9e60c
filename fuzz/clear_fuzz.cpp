// Command2_Click with a write failing at each position: the fields before it
// are empty, those after keep their text, and no reference is left held.
#include <array>

#include "commands/commands.h"
#include "fake_form.h"
#include "input.h"
#include "runtime/errors.h"

using commands::TextField;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input input = fuzz::decode(data, size);
    constexpr std::array<TextField, 6> order = {TextField::x1, TextField::x2, TextField::x,
                                                TextField::y1, TextField::y2, TextField::y};
    fake::FakeForm form;
    form.recording = false;
    for (std::size_t i = 0; i < order.size(); ++i) form.set(order[i], input.text(i));
    form.setCaption(input.text(6));
    // The options byte picks the failing write: 0 to 6, or none from 7 up.
    const std::size_t failing = input.options % 8;
    if (failing < 7) form.failAccess = failing;

    bool failed = false;
    try {
        commands::Command2_Click(form);
    } catch (const rt::PropertyError&) {
        failed = true;
    }
    check(failed == (failing < 7));
    for (std::size_t i = 0; i < order.size(); ++i)
        check(form.text(order[i]) == (i < failing ? u"" : input.text(i)));
    check(form.caption() == (failing < 7 ? input.text(6) : u""));
    check(form.heldReferences() == 0);
    return 0;
}
