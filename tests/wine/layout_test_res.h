// Resources of the layout test program. Icons are drawn for 192 DPI.
#pragma once

#define IDI_ART64 101
#define IDI_ART200 103
