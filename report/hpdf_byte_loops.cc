// libharu clears a 512-byte scratch buffer in every drawing call and copies all
// page content through its own byte helpers, one byte per loop turn; in a long
// report that is a fifth of the time. The library calls these helpers through
// its symbol table, so the definitions below, with the same contracts, take
// their place in any program linking the report writer (the CMake target makes
// sure the linker keeps them).
#include <hpdf.h>
#include <hpdf_utils.h>

#include <cstring>

// Fills n bytes at s with c; returns the end of the filled range.
void* HPDF_MemSet(void* s, HPDF_BYTE c, HPDF_UINT n) {
  memset(s, c, n);
  return static_cast<HPDF_BYTE*>(s) + n;
}

// Copies n bytes front to back; returns the end of the written range. A target
// that starts inside the source repeats bytes as the library's loop does.
HPDF_BYTE* HPDF_MemCpy(HPDF_BYTE* out, const HPDF_BYTE* in, HPDF_UINT n) {
  if (out > in && out < in + n) {
    for (HPDF_UINT i = 0; i < n; ++i) out[i] = in[i];
  } else if (n != 0) {
    memmove(out, in, n);
  }
  return out + n;
}
