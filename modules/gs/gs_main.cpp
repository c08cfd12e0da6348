// VQ312GS.dll: printer state, settings and waits of the maintenance
// utility. The sheets load it when the utility page is shown; the utility
// page's calls come with that page.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
