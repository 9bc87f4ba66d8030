#include "PvZlib.h"

#include <string>

#include "PvHelpers.h"

namespace {

constexpr wchar_t kZlibFileName[] = L"zlib1.dll";
// Present in every usable zlib; looked up so that an unrelated DLL of the
// same name is refused.
constexpr const char* kOtherRequiredEntryPoints[] = {"compress", "compress2", "uncompress", "inflateInit_"};

template <typename Function>
bool Resolve(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

HRESULT LastErrorResult() {
  const DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

// Holds an SRW lock in one mode for a scope.
template <VOID(WINAPI* Acquire)(PSRWLOCK), VOID(WINAPI* Release)(PSRWLOCK)>
class SrwLockGuard {
 public:
  explicit SrwLockGuard(SRWLOCK& lock) : m_lock(lock) { Acquire(&m_lock); }
  ~SrwLockGuard() { Release(&m_lock); }
  SrwLockGuard(const SrwLockGuard&) = delete;
  SrwLockGuard& operator=(const SrwLockGuard&) = delete;

 private:
  SRWLOCK& m_lock;
};
using ExclusiveLock = SrwLockGuard<AcquireSRWLockExclusive, ReleaseSRWLockExclusive>;
using SharedLock = SrwLockGuard<AcquireSRWLockShared, ReleaseSRWLockShared>;

}  // namespace

CPvZlib& CPvZlib::Instance() {
  static CPvZlib instance;
  return instance;
}

CPvZlib::~CPvZlib() {
  UninitZlib();
}

HRESULT CPvZlib::InitZlib() {
  ExclusiveLock lock(m_lock);
  if (m_module) return S_OK;

  wchar_t folder[MAX_PATH + 1];
  GetCurPath(folder);
  const std::wstring path = std::wstring(folder) + kZlibFileName;
  // A full path and the altered search order keep the loader from looking
  // anywhere but the program folder, also for the DLL's own imports.
  UniqueModule module(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!module) return LastErrorResult();

  tagZlibInflateApi inflate;
  bool complete = Resolve(module.Get(), "inflateInit2_", inflate.inflateInit2_) &&
                  Resolve(module.Get(), "inflate", inflate.inflate) &&
                  Resolve(module.Get(), "inflateEnd", inflate.inflateEnd);
  for (const char* name : kOtherRequiredEntryPoints) {
    complete = complete && GetProcAddress(module.Get(), name) != nullptr;
  }
  if (!complete) return LastErrorResult();

  m_module = std::move(module);
  m_inflate = inflate;
  return S_OK;
}

void CPvZlib::UninitZlib() {
  ExclusiveLock lock(m_lock);
  m_inflate = tagZlibInflateApi();
  m_module.Reset();
}

HRESULT CPvZlib::DecodeGZipBuffer(const BYTE* input, DWORD inputLength, BYTE** output, DWORD* outputLength,
                                  DWORD maxOutput) {
  SharedLock lock(m_lock);
  if (m_inflate.inflate == nullptr) return E_FAIL;

  unsigned char* block = nullptr;
  std::size_t length = 0;
  const bool decoded = InflateBounded(m_inflate, input, inputLength, maxOutput, &block, &length);
  *output = block;
  *outputLength = static_cast<DWORD>(length);
  return decoded ? S_OK : E_FAIL;
}
