// The four errors that leave the runtime operations. Each ends the caller's run
// where it is raised; nothing in the commands catches them, only the window's
// click dispatch does, to tell the user. What the user reads is the window's
// to word: an error carries only the facts a message needs.
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
    // The kind's name, for logs; never shown to the user.
    const char* what() const noexcept override;

protected:
    explicit Error(ErrorKind kind) noexcept : kind_(kind) {}

private:
    ErrorKind kind_;
};

// A conversion's error names the text it read and the control that text
// came from (empty for a text the program made), so that the user can be
// pointed at the field at fault. Control names are ASCII identifiers.
class ConversionError : public Error {
public:
    const std::u16string& text() const noexcept { return text_; }
    const std::string& control() const noexcept { return control_; }

protected:
    ConversionError(ErrorKind kind, std::u16string text, std::string_view control)
        : Error(kind), text_(std::move(text)), control_(control) {}

private:
    std::u16string text_;
    std::string control_;
};

// A text that does not read as a number, the empty text included.
class TypeMismatch final : public ConversionError {
public:
    explicit TypeMismatch(std::u16string text, std::string_view control = {})
        : ConversionError(ErrorKind::TypeMismatch, std::move(text), control) {}
};

// A value outside what its destination can hold: a 16-bit result out of range,
// or (with text() not empty) a typed number beyond the range of a double.
class Overflow final : public ConversionError {
public:
    explicit Overflow(std::u16string text = {}, std::string_view control = {})
        : ConversionError(ErrorKind::Overflow, std::move(text), control) {}
};

class FloatingPointError final : public Error {
public:
    explicit FloatingPointError(FpFault fault) noexcept : Error(ErrorKind::FloatingPoint), fault_(fault) {}
    FpFault fault() const noexcept { return fault_; }

private:
    FpFault fault_;
};

// A read or write of a control's property failed. Control and property names
// are ASCII identifiers.
class PropertyError final : public Error {
public:
    PropertyError(std::string_view control, std::string_view property)
        : Error(ErrorKind::Property), control_(control), property_(property) {}
    const std::string& control() const noexcept { return control_; }
    const std::string& property() const noexcept { return property_; }

private:
    std::string control_;
    std::string property_;
};

} // namespace rt
