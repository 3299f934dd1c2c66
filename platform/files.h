// The program's directory, the clock, folders and files. Paths are code page
// 936 texts and are converted to the file system's UTF-8 here. Thread-safe.
#pragma once

#include <functional>
#include <initializer_list>

#include "text/text.h"

namespace platform {

// The directory that holds the program file, without a trailing separator.
Text RunDirectory();
// The current local date and time, to whole seconds.
DateTime CurrentDateTime();
// True when the directory was created: one level only; false when it exists,
// its parent is missing, or its name is not one a Windows folder may have.
bool CreateFolder(const Text& path);
// Writes the buffers in order as the whole content of the file. The file
// appears only whole: the bytes go to a temporary name in the same folder that
// is renamed into place. False for an empty path or any failure.
bool WriteFileBuffers(const Text& path, std::initializer_list<const Bytes*> buffers);
template <typename... More>
bool WriteFileBytes(const Text& path, const Bytes& first, const More&... more) {
  return WriteFileBuffers(path, {&first, &more...});
}

// The path in the file system's own encoding (UTF-8).
std::string NativePath(const Text& path);
// A file system name (UTF-8) as a code page 936 text.
Text TextFromNative(std::string_view native);

// Test seams: an empty directory and an empty function restore the real ones.
void SetRunDirectoryForTesting(const Text& directory);
void SetClockForTesting(std::function<DateTime()> clock);

}  // namespace platform
