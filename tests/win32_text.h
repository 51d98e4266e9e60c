// Reading windows' texts from a test or a probe, the same way everywhere.
#pragma once

#include <windows.h>

#include <string>

inline std::wstring textOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline std::wstring className(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

// UTF-8, by the system's own conversion.
inline std::string narrow(const std::wstring& text) {
    std::string out(text.size() * 3, '\0');
    out.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                            out.data(), static_cast<int>(out.size()), nullptr,
                                                            nullptr)));
    return out;
}
