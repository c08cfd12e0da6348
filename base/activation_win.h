// Every use of the common controls and common dialogs, and every loading of
// a sibling module by file name, runs under this module's own activation
// context, so that they bind to common controls version 6 whatever the host
// process asked for.
//
// The context is the one the loader bound to this module (from its
// RT_MANIFEST resource 2); if the loader bound none, one is created from the
// module's file with resource 3, then 2. A module without either goes on
// with no context. The context, comctl32 and comdlg32 (loaded inside the
// context on first need) and the resolved entry points live until the module
// unloads; they are filled on first use without a lock, and every thread
// that fills them writes the same values.
//
// Each wrapper activates the context, makes its call, and deactivates it
// again with the call's last error intact. When the context cannot be had
// for another reason than a missing manifest, the wrapper fails with that
// error and makes no call. After IsolationCleanup() a wrapper says so on
// the debugger output and makes its call without a context.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

namespace vq {

// How a module's context was found.
enum class ActCtxSource { kBound, kCreatedFromResource3, kCreatedFromResource2, kNone, kFailed };

struct ModuleActCtx {
  HANDLE context = nullptr;  // null with kNone and kFailed
  ActCtxSource source = ActCtxSource::kNone;
  DWORD error = 0;           // of the last creation tried, when one was
};

// The context the loader bound to the module holding `address`; null when
// it bound none. Not add-ref'ed: it belongs to the loader.
HANDLE BoundActivationContext(const void* address);

// A new context from `module`'s file, manifest resource 3, else 2. The
// caller releases it (ReleaseActCtx).
ModuleActCtx CreateActivationContextFromModule(HMODULE module);

// The request for a context from the manifest resource `resource` of the
// module file `file` (with its HMODULE when it is loaded, else null).
ACTCTXW ManifestContextRequest(const wchar_t* file, WORD resource, HMODULE module);

// A context a property sheet makes for its pages: kernel32 loaded and its two
// activation-context functions looked up at run time (a kernel32 without them
// leaves the sheet without a context, and the pages run as the host does).
// Releases the context, then kernel32.
class SheetActivationContext {
 public:
  SheetActivationContext() = default;
  ~SheetActivationContext() { Release(); }
  SheetActivationContext(const SheetActivationContext&) = delete;
  SheetActivationContext& operator=(const SheetActivationContext&) = delete;

  // From resource 1 of `file`. A failed CreateActCtxW is kept as it came back
  // (INVALID_HANDLE_VALUE): the pages are registered with it all the same.
  void Create(const wchar_t* file);
  void Release();
  HANDLE handle() const { return context_; }
  bool resolved() const { return kernel32_ != nullptr; }

 private:
  HMODULE kernel32_ = nullptr;
  HANDLE(WINAPI* create_)(PCACTCTXW) = nullptr;
  void(WINAPI* release_)(HANDLE) = nullptr;
  HANDLE context_ = nullptr;
};

// Bound, else created; what the wrappers use for this module.
ModuleActCtx FindModuleActivationContext(HMODULE module);

// The module holding this code (VQ312UI.dll, or a test program that links it).
HMODULE ThisModule();

// One activation for one wrapped call. ok() is false when the context could
// not be had; the call must then not be made, and GetLastError() says why.
class ModuleContextScope {
 public:
  ModuleContextScope();
  ~ModuleContextScope();
  ModuleContextScope(const ModuleContextScope&) = delete;
  ModuleContextScope& operator=(const ModuleContextScope&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
  bool active_ = false;
  ULONG_PTR cookie_ = 0;
};

// Calls `call` inside the module's context. A result equal to `failure`
// keeps the last error the call set.
template <typename R, typename Call>
R CallInModuleContext(R failure, Call&& call) {
  R result = failure;
  DWORD error = 0;
  {
    ModuleContextScope scope;
    if (!scope.ok()) return failure;
    result = call();
    if (result == failure) error = GetLastError();
  }
  if (result == failure) SetLastError(error);
  return result;
}

HWND IsolatedCreateWindowExW(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                             DWORD style, int x, int y, int width, int height, HWND parent,
                             HMENU menu, HINSTANCE instance, void* param);
HMODULE IsolatedLoadLibraryW(const wchar_t* path);
HIMAGELIST IsolatedImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
int IsolatedImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
BOOL IsolatedGetOpenFileNameW(OPENFILENAMEW* ofn);
BOOL IsolatedGetSaveFileNameW(OPENFILENAMEW* ofn);

// Releases a context this module created. For DLL_PROCESS_DETACH; wrappers
// called afterwards still work, without a context.
void IsolationCleanup();

}  // namespace vq
