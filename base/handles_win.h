// Owners for the Win32 handles the module takes: each closes its handle
// with the one function that releases that kind, and cannot be copied.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <utility>

namespace vq {

template <typename Handle, auto Release, Handle kEmpty = Handle{}>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != kEmpty; }
  Handle release() { return std::exchange(h_, kEmpty); }
  void reset(Handle h = kEmpty) {
    if (h_ != kEmpty) Release(h_);
    h_ = h;
  }
  // For functions that return the handle through a pointer.
  Handle* put() {
    reset();
    return &h_;
  }

 private:
  Handle h_ = kEmpty;
};

namespace handles {
inline void ReleaseModule(HMODULE h) { FreeLibrary(h); }
inline void FreeLocal(HLOCAL h) { LocalFree(h); }
inline void ClosePrinterHandle(HANDLE h) { ClosePrinter(h); }
inline void CloseKernelHandle(HANDLE h) { CloseHandle(h); }
inline void DeleteGdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void DeleteMemoryDc(HDC h) { DeleteDC(h); }
inline void DestroyIconHandle(HICON h) { DestroyIcon(h); }
}  // namespace handles

using UniqueModule = UniqueHandle<HMODULE, handles::ReleaseModule>;
using UniquePrinter = UniqueHandle<HANDLE, handles::ClosePrinterHandle>;
using UniqueKernelHandle = UniqueHandle<HANDLE, handles::CloseKernelHandle>;
using UniqueDc = UniqueHandle<HDC, handles::DeleteMemoryDc>;
using UniqueIcon = UniqueHandle<HICON, handles::DestroyIconHandle>;
template <typename GdiObject>
using UniqueGdi = UniqueHandle<GdiObject, handles::DeleteGdiObject>;

// A LocalAlloc block of T, zero-filled (LPTR), as the spooler interfaces and
// the sheet context expect their blocks.
template <typename T>
class LocalArray {
 public:
  LocalArray() = default;
  ~LocalArray() { reset(); }
  LocalArray(const LocalArray&) = delete;
  LocalArray& operator=(const LocalArray&) = delete;

  // Copies `count` elements; false (and empty) when memory runs out.
  bool assign(const T* data, size_t count) {
    reset();
    if (count == 0) return true;
    p_ = static_cast<T*>(LocalAlloc(LPTR, count * sizeof(T)));
    if (!p_) return false;
    CopyMemory(p_, data, count * sizeof(T));
    count_ = count;
    return true;
  }
  void reset() {
    if (p_) LocalFree(p_);
    p_ = nullptr;
    count_ = 0;
  }
  T* get() const { return p_; }
  size_t size() const { return count_; }
  explicit operator bool() const { return p_ != nullptr; }
  T& operator[](size_t i) const { return p_[i]; }

 private:
  T* p_ = nullptr;
  size_t count_ = 0;
};

}  // namespace vq
