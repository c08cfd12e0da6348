// The property pages' control ids, layout, text and pop-up help tables,
// generated from pages/*/*_layout.txt together with their dialog templates.
#pragma once

#include <cstdint>

#include "pages/control_ids.h"
#include "uicore/layout.h"

namespace vq::pages {
#include "pages/page_layouts.inc"
}  // namespace vq::pages
