// The program's error classes. Each carries the class name the user sees in an
// error box ("EConvertError", "EIniFileException", ...) and its message, and
// remembers roughly where it was raised for the "Application Error" box.
#pragma once

#include <stdexcept>
#include <string>

namespace lumivane {

class Exception : public std::runtime_error {
public:
    Exception(std::string className, const std::string& message);
    const std::string& ClassName() const { return className_; }
    std::string Message() const { return what(); }
    // Code address near the raise; shown in the "Application Error" box.
    const void* Address() const { return address_; }

private:
    std::string className_;
    const void* address_;
};

#define LUMIVANE_ERROR_CLASS(Name)                                                                                     \
    class Name : public Exception {                                                                                    \
    public:                                                                                                            \
        explicit Name(const std::string& message) : Exception(#Name, message) {}                                       \
    };

LUMIVANE_ERROR_CLASS(EConvertError)
LUMIVANE_ERROR_CLASS(EIniFileException)
LUMIVANE_ERROR_CLASS(EFOpenError)
LUMIVANE_ERROR_CLASS(EReadError)
LUMIVANE_ERROR_CLASS(EInvalidOperation)
LUMIVANE_ERROR_CLASS(EOleSysError)
LUMIVANE_ERROR_CLASS(EOSError)

#undef LUMIVANE_ERROR_CLASS

} // namespace lumivane
