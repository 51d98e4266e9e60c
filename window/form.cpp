#include "window/form.h"

#include <algorithm>
#include <exception>

#include "runtime/errors.h"
#include "runtime/text.h"

namespace window {

rt::Status Form::TextBoxBinding::ReadText(rt::Str& text) {
    std::optional<std::u16string> shown = skin_->text(row_);
    if (!shown) return rt::Status::Failed;
    rt::StrMove(text, std::move(*shown));
    return rt::Status::Ok;
}

Form::Form(Skin& skin, char16_t decimalSeparator) : skin_(skin), separator_(decimalSeparator) {
    for (std::size_t i = 0; i < boxes_.size(); ++i) boxes_[i].bind(skin, kTextFieldRows[i]);
    l1_.bind(skin, kL1Row);
}

void Form::opened() { skin_.focus(kFirstFocus, false); }

std::optional<Report> runCommand(const ButtonRow& button, commands::FormFields& form) {
    try {
        button.run(form);
        return std::nullopt;
    } catch (const rt::Error& error) {
        return reportFailure(error, button.command, form.decimalSeparator());
    } catch (const std::exception& error) {
        return internalFailure(error.what(), button.command);
    }
}

void Form::click(Row row) {
    const auto button = std::find_if(kButtons.begin(), kButtons.end(),
                                     [row](const ButtonRow& b) { return rowOf(b.control) == row; });
    if (button == kButtons.end()) return;
    const std::optional<Report> report = runCommand(*button, *this);
    if (!report) return;
    const std::optional<Row> focus = skin_.focusedRow();
    skin_.showReport(*report);
    if (report->field && skin_.text(rowOf(*report->field))) skin_.focus(rowOf(*report->field), true);
    else if (focus) skin_.focus(*focus, false);
}

std::u16string Form::oneLine(std::u16string_view pasted) {
    std::u16string line;
    line.reserve(pasted.size());
    for (std::size_t i = 0; i < pasted.size(); ++i) {
        const char16_t c = pasted[i];
        if (c == u'\r' && i + 1 < pasted.size() && pasted[i + 1] == u'\n') continue; // CR LF is one break
        line += c == u'\r' || c == u'\n' ? u' ' : c;
    }
    return line;
}

int Form::heldReferences() const {
    int held = l1_.references();
    for (const TextBoxBinding& box : boxes_) held += box.references();
    return held;
}

} // namespace window
