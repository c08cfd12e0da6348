// Copies into buffers that callers of the spooler interface own.
#pragma once

#include <cstddef>

namespace vq {

// Whether every byte of [p, p + n) is committed memory the process may
// write. A caller buffer that ends before the answer does fails this check
// and nothing is written.
//
// Why a check and not a fault handler: mingw's gcc has no __try/__except, and
// recovering from a fault in the middle of a copy would need a vectored
// handler that longjmps out of the copy. Asking the memory manager first
// (VirtualQuery, region by region) gives the same outcome for the caller,
// the call returns its failure value, without any fault taking place and
// without a half-written buffer. What no check (nor __try) can see is a
// buffer that is too small but followed by other writable memory of the
// caller; the interface leaves the size to the caller there.
bool IsWritable(void* p, size_t n);

// IsWritable, then the copy; false when nothing was written.
bool CopyToCaller(void* dst, const void* src, size_t n);

}  // namespace vq
