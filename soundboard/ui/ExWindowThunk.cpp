#include "ExWindowThunk.h"

#include <cstdint>
#include <cstring>

namespace {

#pragma pack(push, 1)
struct ThunkCode {
  std::uint8_t movOpcode[4];  // mov dword ptr [esp+4], imm32: the HWND slot
  std::uint32_t object;
  std::uint8_t jmpOpcode;  // jmp rel32
  std::int32_t jmpOffset;
  std::uint8_t padding[7];  // int3
};
#pragma pack(pop)
static_assert(sizeof(ThunkCode) == 20, "the thunk is 20 bytes");

}  // namespace

bool ExWindowThunk::Create(void* object, WNDPROC target) {
  Reset();
  UniqueVirtualMemory page(VirtualAlloc(nullptr, sizeof(ThunkCode), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!page) return false;
  ThunkCode code;
  const std::uint8_t mov[4] = {0xC7, 0x44, 0x24, 0x04};
  std::memcpy(code.movOpcode, mov, sizeof mov);
  code.object = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(object));
  code.jmpOpcode = 0xE9;
  const auto jmpEnd = reinterpret_cast<std::uintptr_t>(page.Get()) + offsetof(ThunkCode, padding);
  code.jmpOffset = static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(target) - jmpEnd);
  std::memset(code.padding, 0xCC, sizeof code.padding);
  std::memcpy(page.Get(), &code, sizeof code);

  DWORD oldProtection = 0;
  if (!VirtualProtect(page.Get(), sizeof code, PAGE_EXECUTE_READ, &oldProtection)) return false;
  FlushInstructionCache(GetCurrentProcess(), page.Get(), sizeof code);
  m_page = std::move(page);
  return true;
}
