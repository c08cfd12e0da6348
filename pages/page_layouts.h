// The property pages' layout, text and pop-up help tables, generated from
// pages/layout/*.txt together with their dialog templates.
#pragma once

#include <cstdint>

#include "uicore/layout.h"

namespace vq::pages {
#include "pages/page_layouts.inc"
}  // namespace vq::pages
