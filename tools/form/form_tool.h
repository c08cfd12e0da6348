// Admin commands over overlay form files. Portable, so that the Windows
// console tool (vq312ctl form ...) and the native vq312form run the same code.
// Paths are UTF-8. Each command prints to `out` and returns a process exit
// code: 0 done, 1 the form could not be read or written, 2 bad arguments.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "pages/overlay/overlay_form.h"

namespace vq {

// Prints the status and facts of a form: header, pages, layout version,
// image and page geometry, resolution, planes, compression, kind, the kept
// values and the size of the colour image.
int RunFormInfo(const std::string& path, std::ostream& out);

// Writes the form's colour image as a 24-bit BMP file.
int RunFormThumbnail(const std::string& in, const std::string& outBmp, std::ostream& out);

// Writes a form file made from a test pattern (see MakeFormPattern). Options:
//   --pattern bars|label|checker|rule   (label)
//   --width DOTS --height LINES    (256 x 128)
//   --mode 0|1|2|4                 (2)
//   --version 2|3                  (3)
//   --dpi N                        (600)
//   --kind N                       (0)
//   --pages N                      (1; later pages are checker patterns)
//   --light  --header  --long-lines  --no-blank-commands  --skipped-commands
int RunFormMake(const std::string& outPath, const std::vector<std::string>& options,
                std::ostream& out);

// A 24-bit BMP file of `rows` rows of `width` pixels taken from top-down
// blue-green-red rows: stored bottom-up, each row padded to 4 bytes. Empty
// when the pixels are too few or the file would pass 4 GiB.
std::vector<uint8_t> EncodeBmp24(std::span<const uint8_t> topDownBgr, uint32_t width,
                                 uint32_t rows, uint32_t xDpi, uint32_t yDpi);

// A short English description of a status, for console output.
const char* FormStatusText(FormStatus status);

}  // namespace vq
