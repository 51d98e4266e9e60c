#include "runtime/object.h"

#include <string>

#include "runtime/errors.h"

namespace rt {

void CheckObjResult(Status status, const Object& control, std::string_view property) {
    if (status != Status::Ok)
        throw PropertyError(std::string(control.Name()), std::string(property));
}

} // namespace rt
