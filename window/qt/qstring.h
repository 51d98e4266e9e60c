// Texts from the toolkit-free parts to Qt: UTF-16 as it is, names as ASCII.
#pragma once

#include <QString>

#include <string_view>

namespace window::qt {

inline QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString toQString(std::string_view ascii) {
    return QString::fromLatin1(ascii.data(), static_cast<qsizetype>(ascii.size()));
}

} // namespace window::qt
