// What both windows' control bindings share: the control's name and the
// count of references the commands hold to it, which tests read to prove
// every reference is released.
#pragma once

#include <string_view>

namespace window {

template <class Interface>
class Counted : public Interface {
public:
    explicit Counted(std::string_view name) : name_(name) {}

    void AddRef() noexcept override { ++references_; }
    void Release() noexcept override { --references_; }
    std::string_view Name() const noexcept override { return name_; }
    int references() const noexcept { return references_; }

private:
    std::string_view name_;
    int references_ = 0;
};

// References held at this moment to the message label and the text fields.
template <class Label, class Boxes>
int heldReferences(const Label& l1, const Boxes& boxes) {
    int held = l1->references();
    for (const auto& box : boxes) held += box->references();
    return held;
}

} // namespace window
