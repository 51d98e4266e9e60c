// Texts: UTF-16 code units, owned by one variable at a time. An empty text and
// an absent text are the same thing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace rt {

class TextBox;

// A text variable that owns its text and releases it when it goes out of scope,
// so that a run which ends in an error frees its texts like one that completes.
// Str::live() counts the texts held at this moment, which lets a test prove
// that a command released all of them. The program is single-threaded, so the
// count is a plain integer.
class Str {
public:
    Str() = default;
    explicit Str(std::u16string text) : text_(std::move(text)) { adopt(); }
    Str(Str&& other) noexcept
        : text_(std::exchange(other.text_, {})), source_(std::exchange(other.source_, {})) {}
    Str& operator=(Str&& other) noexcept;
    Str(const Str&) = delete;
    Str& operator=(const Str&) = delete;
    ~Str() { release(); }

    std::u16string_view view() const noexcept { return text_; }
    bool empty() const noexcept { return text_.empty(); }
    // The name of the control the text was read from, so that a conversion
    // error can point at it; empty for a text the program made.
    std::string_view source() const noexcept { return source_; }

    static std::ptrdiff_t live() noexcept { return live_; }

private:
    friend void StrMove(Str& variable, std::u16string text);
    friend class TextBox;

    void adopt() noexcept {
        if (!text_.empty()) ++live_;
    }
    void release() noexcept {
        if (!text_.empty()) --live_;
        text_.clear();
        source_ = {};
    }

    std::u16string text_;
    std::string_view source_;
    static inline std::ptrdiff_t live_ = 0;
};

// The variable takes ownership of text, releasing what it held before.
void StrMove(Str& variable, std::u16string text);

inline Str& Str::operator=(Str&& other) noexcept {
    if (this != &other) {
        release();
        text_ = std::exchange(other.text_, {});
        source_ = std::exchange(other.source_, {});
    }
    return *this;
}

inline void StrMove(Str& variable, std::u16string text) {
    variable.release();
    variable.text_ = std::move(text);
    variable.adopt();
}

// 0 exactly when the two texts are identical code unit by code unit:
// case-sensitive, no locale rules. Otherwise negative or positive as a is
// ordered before or after b.
inline int StrCmp(std::u16string_view a, std::u16string_view b) noexcept {
    return a.compare(b);
}

} // namespace rt
