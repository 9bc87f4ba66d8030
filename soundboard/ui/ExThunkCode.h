// The machine code of a window-procedure thunk, for each architecture the
// framework is built for: it puts an object pointer where the window handle
// argument was and jumps to a shared procedure. Free of Windows headers, so
// both layouts are checked natively whatever the build.
#pragma once

#include <array>
#include <cstdint>

// x86 (stdcall): mov dword ptr [esp+4], object; jmp rel32 target; int3
// padding. `address` is where the code will lie: the jump is relative to it.
using ExThunkCodeX86 = std::array<std::uint8_t, 20>;
ExThunkCodeX86 MakeThunkCodeX86(std::uint32_t object, std::uint32_t target, std::uint32_t address);

// x86-64 (Microsoft x64): the window handle arrives in RCX, so
// mov rcx, object; mov rax, target; jmp rax; int3 padding. Position-free.
using ExThunkCodeX64 = std::array<std::uint8_t, 24>;
ExThunkCodeX64 MakeThunkCodeX64(std::uint64_t object, std::uint64_t target);
