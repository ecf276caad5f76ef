// Texts of the two error boxes: the toolkit's box for an error that escapes an
// event handler, and the process-level "Application Error" box.
#pragma once

#include <string>

#include "platform/Errors.h"

namespace lumivane {

// The message with "." appended unless it is empty or its last byte already
// sorts at or below the period ("Unable to write to C:\x.ini" gets one,
// "Stream read error." and "done!" do not).
std::string WithPeriod(const std::string& message);

// "Exception %s in module %s at %p.\r\n%s%s\r\n".
std::string ApplicationErrorText(const Exception& error, const std::string& moduleName);

} // namespace lumivane
