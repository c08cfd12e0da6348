// Readable text of the driver's records, for the administrator's tool and
// for test reports: one "name  value" line per field, lengths in mm.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/job_settings.h"
#include "settings/printer_store.h"

namespace vq {

std::string Utf8(std::u16string_view text);
// A length in 0.1 mm as "50.0 mm".
std::string Millimetres(int64_t tenths);

std::string DescribePaper(const PaperInfo& paper);
std::string DescribeMedia(const MediaData& media);
std::string DescribeJobSettings(const JobSettings& js);
// One printer-data value, decoded by its name where the driver knows its
// format (paper and media tables, flags, sleep times), else as hex.
std::string DescribePrinterValue(std::u16string_view name, uint32_t type,
                                 const std::vector<unsigned char>& bytes);

}  // namespace vq
