// An in-memory form for running the commands without a window. It records
// every property access, counts the control references held, and can be told
// to fail one chosen access.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "commands/form_fields.h"

namespace fake {

using commands::TextField;

class FakeForm final : public commands::FormFields {
public:
    FakeForm() {
        for (std::size_t i = 0; i < boxes_.size(); ++i) boxes_[i].init(*this, commands::kTextFieldNames[i]);
        label_.init(*this, "l1");
    }
    FakeForm(const FakeForm&) = delete;
    FakeForm& operator=(const FakeForm&) = delete;

    rt::TextBox& textBox(TextField field) override { return boxes_[index(field)]; }
    rt::Label& l1() override { return label_; }
    char16_t decimalSeparator() const override { return separator; }

    void set(TextField field, std::u16string text) { boxes_[index(field)].text = std::move(text); }
    // The five inputs at once.
    void setInputs(std::u16string x1, std::u16string y1, std::u16string x2, std::u16string y2, std::u16string x) {
        set(TextField::x1, std::move(x1));
        set(TextField::y1, std::move(y1));
        set(TextField::x2, std::move(x2));
        set(TextField::y2, std::move(y2));
        set(TextField::x, std::move(x));
    }
    const std::u16string& text(TextField field) const { return boxes_[index(field)].text; }
    void setCaption(std::u16string caption) { label_.text = std::move(caption); }
    const std::u16string& caption() const { return label_.text; }

    char16_t separator = u'.';

    // References taken and not yet released.
    int heldReferences() const { return held_; }

    // Accesses in order, as "read x1", "write y", "caption l1".
    std::vector<std::string> log;
    bool recording = true;
    // The access (counted from 0) that fails; none when empty.
    std::optional<std::size_t> failAccess;

private:
    struct Control {
        FakeForm* form = nullptr;
        std::string_view name;
        std::u16string text;

        void init(FakeForm& owner, std::string_view controlName) {
            form = &owner;
            name = controlName;
        }
        // Every access must come while a reference is held.
        rt::Status access(const char* verb) {
            if (form->held_ <= 0) form->log.push_back(std::string("unreferenced ") + verb + " " + std::string(name));
            else if (form->recording) form->log.push_back(std::string(verb) + " " + std::string(name));
            return form->failAccess == form->accesses_++ ? rt::Status::Failed : rt::Status::Ok;
        }
    };
    struct Box final : rt::TextBox, Control {
        void AddRef() noexcept override { ++form->held_; }
        void Release() noexcept override { --form->held_; }
        std::string_view Name() const noexcept override { return name; }
        rt::Status ReadText(rt::Str& out) override {
            const rt::Status status = access("read");
            if (status == rt::Status::Ok) rt::StrMove(out, text);
            return status;
        }
        rt::Status LetText(std::u16string_view value) override {
            const rt::Status status = access("write");
            if (status == rt::Status::Ok) text = value;
            return status;
        }
    };
    struct Caption final : rt::Label, Control {
        void AddRef() noexcept override { ++form->held_; }
        void Release() noexcept override { --form->held_; }
        std::string_view Name() const noexcept override { return name; }
        rt::Status LetCaption(std::u16string_view value) override {
            const rt::Status status = access("caption");
            if (status == rt::Status::Ok) text = value;
            return status;
        }
    };

    static std::size_t index(TextField field) { return static_cast<std::size_t>(field); }

    std::array<Box, 6> boxes_;
    Caption label_;
    int held_ = 0;
    std::size_t accesses_ = 0;
};

} // namespace fake
