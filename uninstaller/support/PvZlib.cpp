#include "PvZlib.h"

CPvZlib& CPvZlib::Instance() {
  static CPvZlib instance;
  return instance;
}

CPvZlib::CPvZlib() {
  m_inflate.inflateInit2_ = inflateInit2_;
  m_inflate.inflate = inflate;
  m_inflate.inflateEnd = inflateEnd;
}

HRESULT CPvZlib::DecodeGZipBuffer(const BYTE* input, DWORD inputLength, BYTE** output, DWORD* outputLength,
                                  DWORD maxOutput) {
  unsigned char* block = nullptr;
  std::size_t length = 0;
  const bool decoded = InflateBounded(m_inflate, input, inputLength, maxOutput, &block, &length);
  *output = block;
  *outputLength = static_cast<DWORD>(length);
  return decoded ? S_OK : E_FAIL;
}
