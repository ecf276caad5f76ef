// Texts of the two error boxes (see ErrorText.h).
#include "common/ErrorText.h"

#include <exception>
#include <new>

#include "common/IntegerText.h"

namespace lumivane {

ErrorReport CurrentError() {
    try {
        throw;
    } catch (const Exception& error) {
        return {error.ClassName(), error.Message(), error.Address()};
    } catch (const std::bad_alloc&) {
        return {"EOutOfMemory", "Out of memory", nullptr};
    } catch (const std::exception& error) {
        return {"Exception", error.what(), nullptr};
    } catch (...) {
        return {"Exception", "Unknown error", nullptr};
    }
}

std::string WithPeriod(const std::string& message) {
    const bool needsPeriod = !message.empty() && static_cast<unsigned char>(message.back()) > '.';
    return needsPeriod ? message + "." : message;
}

std::string HandlerErrorText() {
    return WithPeriod(CurrentError().message);
}

std::string ApplicationErrorText(const ErrorReport& error, const std::string& moduleName) {
    const std::string address = HexDigits(reinterpret_cast<std::uintptr_t>(error.address), 16);
    return "Exception " + error.className + " in module " + moduleName + " at " + address + ".\r\n" +
           WithPeriod(error.message) + "\r\n";
}

} // namespace lumivane
