// Texts of the two error boxes: the toolkit's box for an error that escapes an
// event handler, and the process-level "Application Error" box. Both describe
// whatever was thrown, not only the program's own errors: a std::bad_alloc in a
// handler is shown like any other error instead of ending the process.
#pragma once

#include <string>

#include "common/Errors.h"

namespace lumivane {

// What the error in flight is: class name, message and where it was raised.
struct ErrorReport {
    std::string className;
    std::string message;
    const void* address = nullptr;
};

// Call only inside a catch block. The program's errors report themselves; a
// std::bad_alloc reads as EOutOfMemory "Out of memory", any other standard
// exception as Exception with its what(), and anything else as Exception
// "Unknown error".
ErrorReport CurrentError();

// The message with "." appended unless it is empty or its last byte already
// sorts at or below the period ("Unable to write to C:\x.ini" gets one,
// "Stream read error." and "done!" do not).
std::string WithPeriod(const std::string& message);

// The toolkit's box text for the error in flight: its message with its period.
// Call only inside a catch block.
std::string HandlerErrorText();

// "Exception %s in module %s at %p.\r\n%s%s\r\n".
std::string ApplicationErrorText(const ErrorReport& error, const std::string& moduleName);

} // namespace lumivane
