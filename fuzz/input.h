// How a fuzz input becomes texts: the first byte holds options, the rest is
// UTF-16LE code units (an odd last byte is dropped), split into texts at
// U+FFFF, a noncharacter nobody types. Any code unit can appear otherwise,
// unpaired surrogates included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzz {

struct Input {
    std::uint8_t options = 0;
    std::vector<std::u16string> texts;

    // The i-th text, or the empty text when the input has fewer.
    const std::u16string& text(std::size_t i) const {
        static const std::u16string empty;
        return i < texts.size() ? texts[i] : empty;
    }
};

inline Input decode(const std::uint8_t* data, std::size_t size) {
    Input input;
    if (size == 0) return input;
    input.options = data[0];
    input.texts.emplace_back();
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == u'\uFFFF') input.texts.emplace_back();
        else input.texts.back() += unit;
    }
    return input;
}

// A broken property stops the fuzzer, which keeps the input that broke it.
inline void check(bool property) {
    if (!property) std::abort();
}

// Options bit 0: the user's decimal separator is ',' rather than '.'.
inline char16_t separator(const Input& input) { return (input.options & 1) ? u',' : u'.'; }

} // namespace fuzz
