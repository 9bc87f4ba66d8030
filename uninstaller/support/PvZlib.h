// The decoding of compressed HTTP replies, through the zlib linked into the
// program (nothing is loaded from beside it).
#pragma once

#include <windows.h>

#include "GzipDecode.h"

class CPvZlib {
 public:
  static CPvZlib& Instance();

  CPvZlib(const CPvZlib&) = delete;
  CPvZlib& operator=(const CPvZlib&) = delete;

  // Decodes a zlib or gzip stream into a heap block of at most `maxOutput`
  // bytes, which the caller frees with free(). S_OK with the block (null when
  // empty) and its length when the stream ended or filled `maxOutput` bytes;
  // otherwise E_FAIL with a null block of length 0.
  HRESULT DecodeGZipBuffer(const BYTE* input, DWORD inputLength, BYTE** output, DWORD* outputLength, DWORD maxOutput);

 private:
  CPvZlib();

  tagZlibInflateApi m_inflate;
};
