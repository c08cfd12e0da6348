#include "base/activation_win.h"

namespace vq {

namespace {

// Process-wide, filled on first use (see the header).
enum class State { kUnknown, kReady, kCleanedUp };
State g_state = State::kUnknown;
ModuleActCtx g_context;
HMODULE g_comctl32 = nullptr;
HMODULE g_comdlg32 = nullptr;

using ImageListCreateFn = HIMAGELIST(WINAPI*)(int, int, UINT, int, int);
using ImageListReplaceIconFn = int(WINAPI*)(HIMAGELIST, int, HICON);
using FileDialogFn = BOOL(WINAPI*)(OPENFILENAMEW*);
ImageListCreateFn g_imageListCreate = nullptr;
ImageListReplaceIconFn g_imageListReplaceIcon = nullptr;
FileDialogFn g_getOpenFileName = nullptr;
FileDialogFn g_getSaveFileName = nullptr;

// ERROR_RESOURCE_DATA_NOT_FOUND .. ERROR_RESOURCE_LANG_NOT_FOUND: the module
// has no such manifest, which is not an error for a module that needs none.
bool IsMissingResource(DWORD error) { return error >= 1812 && error <= 1815; }

// The first call finds the context. A failure other than a missing manifest
// is not remembered: the next wrapped call tries again.
bool EnsureContext() {
  if (g_state != State::kUnknown) return true;
  const ModuleActCtx found = FindModuleActivationContext(ThisModule());
  if (found.source == ActCtxSource::kFailed) {
    SetLastError(found.error);
    return false;
  }
  g_context = found;
  g_state = State::kReady;
  return true;
}

HMODULE LoadSystemModule(HMODULE* cache, const wchar_t* name) {
  if (!*cache) *cache = LoadLibraryW(name);
  return *cache;
}

// Resolves `name` in a system module loaded inside the context; cached.
template <typename Fn>
Fn Resolve(Fn* cache, HMODULE* module, const wchar_t* file, const char* name) {
  if (*cache) return *cache;
  HMODULE h = LoadSystemModule(module, file);
  if (!h) return nullptr;
  *cache = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(h, name)));
  return *cache;
}

}  // namespace

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<const wchar_t*>(&ThisModule), &module);
  return module;
}

HANDLE BoundActivationContext(const void* address) {
  ACTIVATION_CONTEXT_BASIC_INFORMATION info{};
  if (!address ||
      !QueryActCtxW(QUERY_ACTCTX_FLAG_ACTCTX_IS_ADDRESS | QUERY_ACTCTX_FLAG_NO_ADDREF,
                    const_cast<void*>(address),
                    nullptr, ActivationContextBasicInformation, &info, sizeof info, nullptr))
    return nullptr;
  return info.hActCtx;
}

ModuleActCtx CreateActivationContextFromModule(HMODULE module) {
  ModuleActCtx result;
  wchar_t path[MAX_PATH];
  const DWORD n = module ? GetModuleFileNameW(module, path, MAX_PATH) : 0;
  if (n == 0 || n >= MAX_PATH) {
    result.source = ActCtxSource::kFailed;
    result.error = module ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_HANDLE;
    return result;
  }
  // Resource 3 is the manifest the loader leaves alone; this module's own is
  // 2, which a loader that did not bind it (a module loaded as data, an old
  // loader) still leaves for us to use.
  const struct {
    WORD id;
    ActCtxSource source;
  } tries[] = {{3, ActCtxSource::kCreatedFromResource3}, {2, ActCtxSource::kCreatedFromResource2}};
  for (const auto& t : tries) {
    const ACTCTXW ac = ManifestContextRequest(path, t.id, module);
    HANDLE h = CreateActCtxW(&ac);
    if (h != INVALID_HANDLE_VALUE) {
      result.context = h;
      result.source = t.source;
      result.error = 0;
      return result;
    }
    result.error = GetLastError();
    if (!IsMissingResource(result.error)) {
      result.source = ActCtxSource::kFailed;
      return result;
    }
  }
  result.source = ActCtxSource::kNone;
  return result;
}

ACTCTXW ManifestContextRequest(const wchar_t* file, WORD resource, HMODULE module) {
  ACTCTXW ac{};
  ac.cbSize = sizeof ac;
  ac.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | (module ? ACTCTX_FLAG_HMODULE_VALID : 0);
  ac.lpSource = file;
  ac.lpResourceName = MAKEINTRESOURCEW(resource);
  ac.hModule = module;
  return ac;
}

void SheetActivationContext::Create(const wchar_t* file) {
  Release();
  kernel32_ = LoadLibraryW(L"kernel32.dll");
  if (!kernel32_) return;
  create_ = reinterpret_cast<decltype(create_)>(
      reinterpret_cast<void*>(GetProcAddress(kernel32_, "CreateActCtxW")));
  release_ = reinterpret_cast<decltype(release_)>(
      reinterpret_cast<void*>(GetProcAddress(kernel32_, "ReleaseActCtx")));
  if (!create_ || !release_) {
    Release();
    return;
  }
  const ACTCTXW request = ManifestContextRequest(file, 1, nullptr);
  context_ = create_(&request);
}

void SheetActivationContext::Release() {
  if (context_ && context_ != INVALID_HANDLE_VALUE && release_) release_(context_);
  context_ = nullptr;
  if (kernel32_) FreeLibrary(kernel32_);
  kernel32_ = nullptr;
  create_ = nullptr;
  release_ = nullptr;
}

ModuleActCtx FindModuleActivationContext(HMODULE module) {
  if (HANDLE bound = BoundActivationContext(module)) return {bound, ActCtxSource::kBound, 0};
  return CreateActivationContextFromModule(module);
}

ModuleContextScope::ModuleContextScope() {
  if (g_state == State::kCleanedUp) {
    OutputDebugStringA("IsolationAware function called after IsolationAwareCleanup\n");
    ok_ = true;
    return;
  }
  if (!EnsureContext()) return;
  ok_ = true;
  if (g_context.context) {
    if (!ActivateActCtx(g_context.context, &cookie_)) {
      ok_ = false;
      return;
    }
    active_ = true;
  }
}

ModuleContextScope::~ModuleContextScope() {
  if (active_) DeactivateActCtx(0, cookie_);
}

HWND IsolatedCreateWindowExW(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                             DWORD style, int x, int y, int width, int height, HWND parent,
                             HMENU menu, HINSTANCE instance, void* param) {
  return CallInModuleContext(static_cast<HWND>(nullptr), [&] {
    // The common control classes are registered by comctl32 itself: it must
    // be loaded inside the context for the version-6 classes to exist.
    LoadSystemModule(&g_comctl32, L"comctl32.dll");
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu,
                           instance, param);
  });
}

HMODULE IsolatedLoadLibraryW(const wchar_t* path) {
  return CallInModuleContext(static_cast<HMODULE>(nullptr), [&] { return LoadLibraryW(path); });
}

HIMAGELIST IsolatedImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
  return CallInModuleContext(static_cast<HIMAGELIST>(nullptr), [&]() -> HIMAGELIST {
    auto fn = Resolve(&g_imageListCreate, &g_comctl32, L"comctl32.dll", "ImageList_Create");
    return fn ? fn(cx, cy, flags, initial, grow) : nullptr;
  });
}

int IsolatedImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
  return CallInModuleContext(-1, [&] {
    auto fn = Resolve(&g_imageListReplaceIcon, &g_comctl32, L"comctl32.dll",
                      "ImageList_ReplaceIcon");
    return fn ? fn(list, index, icon) : -1;
  });
}

BOOL IsolatedGetOpenFileNameW(OPENFILENAMEW* ofn) {
  return CallInModuleContext(FALSE, [&] {
    auto fn = Resolve(&g_getOpenFileName, &g_comdlg32, L"comdlg32.dll", "GetOpenFileNameW");
    return fn ? fn(ofn) : FALSE;
  });
}

BOOL IsolatedGetSaveFileNameW(OPENFILENAMEW* ofn) {
  return CallInModuleContext(FALSE, [&] {
    auto fn = Resolve(&g_getSaveFileName, &g_comdlg32, L"comdlg32.dll", "GetSaveFileNameW");
    return fn ? fn(ofn) : FALSE;
  });
}

void IsolationCleanup() {
  // A bound context belongs to the loader; only one created here is ours.
  if (g_state == State::kReady && g_context.context && g_context.source != ActCtxSource::kBound)
    ReleaseActCtx(g_context.context);
  g_context = ModuleActCtx{};
  g_state = State::kCleanedUp;
}

}  // namespace vq
