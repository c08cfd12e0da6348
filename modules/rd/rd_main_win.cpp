// VQ312RD.dll: the icons and bitmaps of the pages. Resources only; the
// pages load them by number (LoadImageW on this module).
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
