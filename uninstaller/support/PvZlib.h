// The zlib library of the uninstaller, loaded at run time from the program
// folder, and the decoding of compressed HTTP replies.
#pragma once

#include <windows.h>

#include "GzipDecode.h"
#include "Handles.h"

class CPvZlib {
 public:
  static CPvZlib& Instance();

  CPvZlib(const CPvZlib&) = delete;
  CPvZlib& operator=(const CPvZlib&) = delete;

  // Loads "zlib1.dll" from the program folder only (no other search) and
  // resolves its entry points. S_OK when loaded, also when it already was;
  // otherwise the Win32 error as an HRESULT, with nothing left loaded.
  HRESULT InitZlib();

  // Unloads the library; waits for decodes under way.
  void UninitZlib();

  // Decodes a zlib or gzip stream into a heap block of at most `maxOutput`
  // bytes, which the caller frees with free(). S_OK with the block (null when
  // empty) and its length when the stream ended or filled `maxOutput` bytes;
  // E_FAIL with the outputs untouched when zlib is not loaded, else E_FAIL
  // with a null block of length 0.
  HRESULT DecodeGZipBuffer(const BYTE* input, DWORD inputLength, BYTE** output, DWORD* outputLength, DWORD maxOutput);

 private:
  CPvZlib() = default;
  ~CPvZlib();

  // Exclusive for load and unload, shared while decoding, so the library is
  // never unloaded under a decode. Needs no destruction, so decodes of report
  // threads still running at process exit find it intact.
  SRWLOCK m_lock = SRWLOCK_INIT;
  UniqueModule m_module;
  tagZlibInflateApi m_inflate;
};
