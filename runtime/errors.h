// The four errors that leave the runtime operations. Each ends the caller's run
// where it is raised; nothing in the commands catches them, only the window's
// click dispatch does, to tell the user.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace rt {

enum class ErrorKind { TypeMismatch, Overflow, FloatingPoint, Property };

// Which floating-point condition a check found.
enum class FpFault { InvalidOperation, DivisionByZero, Overflow };

class Error : public std::exception {
public:
    ErrorKind kind() const noexcept { return kind_; }
    // A short description for the user, in Simplified Chinese, UTF-8.
    const char* what() const noexcept override { return description_.c_str(); }

protected:
    Error(ErrorKind kind, std::string description)
        : kind_(kind), description_(std::move(description)) {}

private:
    ErrorKind kind_;
    std::string description_;
};

// A text that does not read as a number, the empty text included.
class TypeMismatch final : public Error {
public:
    explicit TypeMismatch(std::u16string text);
    const std::u16string& text() const noexcept { return text_; }

private:
    std::u16string text_;
};

// A value outside what its destination can hold: a 16-bit result out of range,
// or (with text() not empty) a typed number beyond the range of a double.
class Overflow final : public Error {
public:
    explicit Overflow(std::u16string text = {});
    const std::u16string& text() const noexcept { return text_; }

private:
    std::u16string text_;
};

class FloatingPointError final : public Error {
public:
    explicit FloatingPointError(FpFault fault);
    FpFault fault() const noexcept { return fault_; }

private:
    FpFault fault_;
};

// A read or write of a control's property failed.
class PropertyError final : public Error {
public:
    PropertyError(std::string control, std::string property);
    const std::string& control() const noexcept { return control_; }
    const std::string& property() const noexcept { return property_; }

private:
    std::string control_;
    std::string property_;
};

// UTF-16 to UTF-8, with U+FFFD for unpaired surrogates, so that any text a
// user pasted can be shown in a message.
std::string toUtf8(std::u16string_view text);

// The text in Chinese quotation marks, UTF-8, cut to its first 40 code units
// with "…" when longer: how a message names a text the user typed.
std::string quote(std::u16string_view text);

} // namespace rt
