// The receipt colour dialog (template 8003) the utility page opens: pick a
// document colour, print test charts around it, register the best patch as
// its print colour, and keep the list of registered pairs (with import and
// export of ".bin" files).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "pages/utility/maintenance_win.h"
#include "pages/utility/receipt_colours.h"

namespace vq {

// Runs the dialog modally over `owner` for the printer of `t` (its settings
// are the working settings a registration copies). Returns the id of the
// button that closed it (-1 when the template cannot be created).
INT_PTR ShowReceiptColourDialog(HWND owner, const MaintenanceTarget& t);

// Reads a ".bin" file whole for an import: a folder, a missing file or one
// larger than any receipt colour file is refused before it is read.
bool ReadReceiptFile(const std::wstring& path, std::vector<uint8_t>* bytes);
// Writes the ".bin" file of `arrays` over `path`; a file that could not be
// written whole is removed again.
bool WriteReceiptFile(const std::wstring& path, const receipt::Arrays& arrays);

}  // namespace vq
