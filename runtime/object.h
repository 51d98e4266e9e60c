// Controls as the runtime hands them out: counted references, and property
// accessors that report failure by status for CheckObjResult to raise.
#pragma once

#include <string_view>
#include <utility>

#include "runtime/text.h"

namespace rt {

enum class [[nodiscard]] Status { Ok, Failed };

class Object {
public:
    virtual void AddRef() noexcept = 0;
    virtual void Release() noexcept = 0;
    // The control's name, for error messages.
    virtual std::string_view Name() const noexcept = 0;

protected:
    ~Object() = default;
};

class TextBox : public Object {
public:
    // Read: `text` receives a new text owned by the caller, which remembers
    // this control's name (Name() lives as long as the control does).
    Status GetText(Str& text) {
        const Status status = ReadText(text);
        if (status == Status::Ok) text.source_ = Name();
        return status;
    }
    // Write: the control shows the new text at once.
    virtual Status LetText(std::u16string_view text) = 0;

protected:
    ~TextBox() = default;
    virtual Status ReadText(Str& text) = 0;
};

class Label : public Object {
public:
    virtual Status LetCaption(std::u16string_view caption) = 0;

protected:
    ~Label() = default;
};

// A counted reference to a control, released when it goes out of scope, on
// every path. Made by ObjSet.
template <class T>
class ObjRef {
public:
    ObjRef(ObjRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ObjRef& operator=(ObjRef&&) = delete;
    ObjRef(const ObjRef&) = delete;
    ObjRef& operator=(const ObjRef&) = delete;
    ~ObjRef() {
        if (object_) object_->Release();
    }

    T* operator->() const noexcept { return object_; }
    T& operator*() const noexcept { return *object_; }

private:
    template <class U> friend ObjRef<U> ObjSet(U& object) noexcept;

    explicit ObjRef(T& object) noexcept : object_(&object) { object_->AddRef(); }

    T* object_;
};

template <class T>
ObjRef<T> ObjSet(T& object) noexcept {
    return ObjRef<T>(object);
}

// Raises the property error when a property access on `control` failed.
void CheckObjResult(Status status, const Object& control, std::string_view property);

} // namespace rt
