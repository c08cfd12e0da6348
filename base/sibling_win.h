// The one way the driver's modules load each other: by file name from the
// driver directory, inside this module's activation context (so a sibling
// that uses common controls binds to version 6 whatever the host process
// asked for), with the sibling's own folder searched for its dependencies.
#pragma once

#include <windows.h>

#include <string_view>

namespace vq {

// The driver keeps a sibling's path in 256 characters; a longer one is not
// loaded. Null when the file is missing or does not load (GetLastError
// says why).
HMODULE LoadSiblingModule(std::wstring_view folder, const wchar_t* file);

// A sibling from this module's own folder.
HMODULE LoadSiblingModule(const wchar_t* file);

}  // namespace vq
