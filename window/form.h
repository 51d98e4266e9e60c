// Form1's behaviour, once for every toolkit: the form fields the commands see,
// bound to the controls of the layout rows; what a click does (run the row's
// command, report a failure, place the focus); where the focus starts; which
// keys press a button. A toolkit's window only draws, routes its native events
// here and implements Skin's few primitives over its controls.
#pragma once

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "commands/form_fields.h"
#include "window/layout.h"
#include "window/report.h"

namespace window {

// What a toolkit's window does for the form, row by row.
class Skin {
public:
    // The text of a TextBox row or the caption of a Label row; none when the
    // control is gone.
    virtual std::optional<std::u16string> text(Row row) const = 0;
    // Shows the new text at once; false when the control is gone or refused it.
    virtual bool setText(Row row, std::u16string_view text) = 0;
    // The row whose control has the keyboard focus; none when no control has.
    virtual std::optional<Row> focusedRow() const = 0;
    // Gives the row's control the focus, with all its text selected if asked.
    virtual void focus(Row row, bool selectText) = 0;
    // Shows the report in a modal box, returning once the user has closed it.
    virtual void showReport(const Report& report) = 0;

protected:
    ~Skin() = default;
};

// The row a skin's control was built from, given the skin's controls in
// layout order; none for no control or one the form does not have.
template <class Controls, class Control>
std::optional<Row> rowIn(const Controls& controls, const Control& control) {
    const auto found = std::find(std::begin(controls), std::end(controls), control);
    if (!control || found == std::end(controls)) return std::nullopt;
    return static_cast<Row>(found - std::begin(controls));
}

// Runs a button's command on `form`, and returns what to tell the user when
// it failed: a command's error must never cross the toolkit's event loop, so
// this is the one place that catches it. Form::click shows what it returns.
std::optional<Report> runCommand(const ButtonRow& button, commands::FormFields& form);

class Form final : public commands::FormFields {
public:
    Form(Skin& skin, char16_t decimalSeparator);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    rt::TextBox& textBox(commands::TextField field) override { return boxes_[static_cast<std::size_t>(field)]; }
    rt::Label& l1() override { return l1_; }
    char16_t decimalSeparator() const override { return separator_; }

    // The window has opened: the focus goes to the first control of the
    // keyboard order.
    void opened();
    // The button of `row` was clicked: runs its command. On a failure, shows
    // the report, then puts the cursor in the field at fault with its text
    // selected, so that typing replaces it, or gives the focus back where it
    // was. The fields stay as the command left them.
    void click(Row row);
    // Enter presses a focused button as Space does, although neither button
    // is a default button that Enter would press from anywhere else; in a
    // field it does nothing.
    static constexpr bool enterPresses(Row row) { return kControls[row].kind == Kind::CommandButton; }

    // What a field keeps of a pasted text: one line, each line break (CR LF,
    // CR or LF) a space, so that it shows what it holds and no two pasted
    // lines run together into one number.
    static std::u16string oneLine(std::u16string_view pasted);

    // Control references the commands hold at this moment; 0 between clicks.
    int heldReferences() const;

private:
    // A control as the commands see it: a counted reference to one row.
    template <class Interface>
    class Binding : public Interface {
    public:
        void bind(Skin& skin, Row row) {
            skin_ = &skin;
            row_ = row;
        }
        void AddRef() noexcept override { ++references_; }
        void Release() noexcept override { --references_; }
        std::string_view Name() const noexcept override { return kControls[row_].name; }
        int references() const noexcept { return references_; }

    protected:
        rt::Status put(std::u16string_view text) {
            return skin_->setText(row_, text) ? rt::Status::Ok : rt::Status::Failed;
        }
        Skin* skin_ = nullptr;
        Row row_ = 0;

    private:
        int references_ = 0;
    };
    class TextBoxBinding final : public Binding<rt::TextBox> {
    public:
        rt::Status ReadText(rt::Str& text) override;
        rt::Status LetText(std::u16string_view text) override { return put(text); }
    };
    class LabelBinding final : public Binding<rt::Label> {
    public:
        rt::Status LetCaption(std::u16string_view caption) override { return put(caption); }
    };

    Skin& skin_;
    char16_t separator_;
    std::array<TextBoxBinding, commands::kTextFieldNames.size()> boxes_;
    LabelBinding l1_;
};

} // namespace window
