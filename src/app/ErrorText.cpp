// Texts of the two error boxes (see ErrorText.h).
#include "app/ErrorText.h"

#include <cinttypes>
#include <cstdio>

namespace lumivane {

namespace {

bool NeedsPeriod(const std::string& message) {
    return !message.empty() && static_cast<unsigned char>(message.back()) > '.';
}

} // namespace

std::string WithPeriod(const std::string& message) {
    return NeedsPeriod(message) ? message + "." : message;
}

std::string ApplicationErrorText(const Exception& error, const std::string& moduleName) {
    char address[32];
    std::snprintf(address, sizeof address, "%016" PRIXPTR, reinterpret_cast<std::uintptr_t>(error.Address()));
    const std::string message = error.Message();
    return "Exception " + error.ClassName() + " in module " + moduleName + " at " + address + ".\r\n" + message +
           (NeedsPeriod(message) ? "." : "") + "\r\n";
}

} // namespace lumivane
