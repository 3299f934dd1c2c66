// Hands a folder or a web address to the desktop's opener. Thread-safe.
#pragma once

#include <functional>

#include "text/text.h"

namespace platform {

// Opens target (code page 936) with the desktop's opener, detached, without a
// shell; the outcome is not examined.
void ShellOpen(const Text& target);

// Test seam: replaces the opener; an empty function restores the real one.
void SetShellOpenerForTesting(std::function<void(const Text&)> opener);

}  // namespace platform
