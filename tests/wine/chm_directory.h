// The names in a compiled HTML Help file's directory, read straight from the
// file (ITSF container, ITSP directory, PMGL listing chunks), so that a test
// can see what the help compiler put in without HTML Help.
#pragma once

#include <string>
#include <vector>

namespace vq::wine {

// false when the bytes are not a CHM this reader understands; reads past the
// end of the data are refused, never made.
bool ReadChmDirectory(const std::vector<unsigned char>& file, std::vector<std::string>* names);

}  // namespace vq::wine
