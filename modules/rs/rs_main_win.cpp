// VQ312RS.dll: resources of the status monitor. The document event loads it
// (and VQ312AN.dll) from the driver directory and frees it again before it
// starts a monitor: a driver folder missing either gets no monitor. This
// stand-in carries only its version resource; it does nothing when loaded.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
