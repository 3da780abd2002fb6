// An operating-system error code in the system's own words: errno on POSIX, GetLastError
// on Windows (whose codes the C library does not know). Texts are in the system's code page.
#pragma once

#include <string>

std::string SystemErrorText(int error);
