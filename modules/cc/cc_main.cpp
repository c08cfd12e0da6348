// VQ312CC.dll: the colour preview renderer. The document sheet loads it at
// INIT; the colour page's preview calls come with that page.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
