#include "ExWindowThunk.h"

#include <cstdint>
#include <cstring>

#include "ExThunkCode.h"

namespace {

// The one place the two architectures differ: how the window handle
// argument is passed (on the stack for x86, in RCX for x86-64).
#if defined(__x86_64__) || defined(_M_X64)
using ThunkCode = ExThunkCodeX64;
ThunkCode MakeThunkCode(void* object, WNDPROC target, const void*) {
  return MakeThunkCodeX64(reinterpret_cast<std::uintptr_t>(object), reinterpret_cast<std::uintptr_t>(target));
}
#elif defined(__i386__) || defined(_M_IX86)
using ThunkCode = ExThunkCodeX86;
ThunkCode MakeThunkCode(void* object, WNDPROC target, const void* address) {
  return MakeThunkCodeX86(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(object)),
                          static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(target)),
                          static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(address)));
}
#else
#error "the window thunk is made for x86 and x86-64 only"
#endif

}  // namespace

bool ExWindowThunk::Create(void* object, WNDPROC target) {
  Reset();
  UniqueVirtualMemory page(VirtualAlloc(nullptr, sizeof(ThunkCode), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!page) return false;
  const ThunkCode code = MakeThunkCode(object, target, page.Get());
  std::memcpy(page.Get(), code.data(), code.size());

  DWORD oldProtection = 0;
  if (!VirtualProtect(page.Get(), code.size(), PAGE_EXECUTE_READ, &oldProtection)) return false;
  FlushInstructionCache(GetCurrentProcess(), page.Get(), code.size());
  m_page = std::move(page);
  return true;
}
