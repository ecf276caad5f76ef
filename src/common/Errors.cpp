// Error classes: the raise address is taken from the constructor's caller,
// which is the code that raised the error.
#include "common/Errors.h"

namespace lumivane {

Exception::Exception(std::string className, const std::string& message)
    : std::runtime_error(message), className_(std::move(className)), address_(__builtin_return_address(0)) {}

} // namespace lumivane
