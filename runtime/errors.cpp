#include "runtime/errors.h"

namespace rt {

const char* Error::what() const noexcept {
    switch (kind_) {
    case ErrorKind::TypeMismatch: return "type mismatch";
    case ErrorKind::Overflow: return "overflow";
    case ErrorKind::FloatingPoint: return "floating-point error";
    case ErrorKind::Property: break;
    }
    return "property error";
}

} // namespace rt
