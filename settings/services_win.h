// The device-information module and the real spooler, for the portable
// settings code running inside the UI module.
#pragma once

#include "settings/job_settings.h"

namespace vq {

const DriverServices& Services();

}  // namespace vq
