#include "ExThunkCode.h"

#include <cstddef>

namespace {

constexpr std::uint8_t kBreakpoint = 0xCC;

template <std::size_t N>
void PutLittleEndian(std::array<std::uint8_t, N>& code, std::size_t at, std::uint64_t value, std::size_t bytes) {
  for (std::size_t i = 0; i < bytes; ++i) code[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

ExThunkCodeX86 MakeThunkCodeX86(std::uint32_t object, std::uint32_t target, std::uint32_t address) {
  ExThunkCodeX86 code;
  code.fill(kBreakpoint);
  // C7 44 24 04 imm32: mov dword ptr [esp+4], imm32 (the first argument's slot)
  code[0] = 0xC7;
  code[1] = 0x44;
  code[2] = 0x24;
  code[3] = 0x04;
  PutLittleEndian(code, 4, object, 4);
  // E9 rel32: jmp, relative to the end of the instruction
  constexpr std::uint32_t kJumpEnd = 13;
  code[8] = 0xE9;
  PutLittleEndian(code, 9, target - (address + kJumpEnd), 4);
  return code;
}

ExThunkCodeX64 MakeThunkCodeX64(std::uint64_t object, std::uint64_t target) {
  ExThunkCodeX64 code;
  code.fill(kBreakpoint);
  // 48 B9 imm64: mov rcx, imm64 (the first argument's register)
  code[0] = 0x48;
  code[1] = 0xB9;
  PutLittleEndian(code, 2, object, 8);
  // 48 B8 imm64: mov rax, imm64; FF E0: jmp rax
  code[10] = 0x48;
  code[11] = 0xB8;
  PutLittleEndian(code, 12, target, 8);
  code[20] = 0xFF;
  code[21] = 0xE0;
  return code;
}
