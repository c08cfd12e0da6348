// A module with a common-controls manifest as resource 2, which the loader
// binds to it: the case of the driver's UI module loaded by the spooler.
extern "C" __declspec(dllexport) int LayoutActCtxProbe() { return 1; }
