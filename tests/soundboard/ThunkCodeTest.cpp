// The window thunk's code for both architectures. The x86-64 code is run
// here (the native build's processor): the host's procedure is called with
// the Microsoft x64 convention, as Windows calls a window procedure. The x86
// code cannot run on a 64-bit-only machine, so its jump is decoded instead.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstring>

#include "ExThunkCode.h"

namespace {

std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

TEST(ThunkCodeTest, X86StoresTheObjectInTheHandleSlotAndJumpsToTheTargetFromAnyAddress) {
  struct Case {
    std::uint32_t target;
    std::uint32_t address;
  };
  // Forward, backward, and across the top of the address space.
  for (const Case c :
       {Case{0x00401000u, 0x00300000u}, Case{0x00300000u, 0x7FFE0000u}, Case{0x00000010u, 0xFFFFFF00u}}) {
    const ExThunkCodeX86 code = MakeThunkCodeX86(0xA1B2C3D4u, c.target, c.address);
    const std::uint8_t storeToFirstArgument[] = {0xC7, 0x44, 0x24, 0x04};
    EXPECT_EQ(std::memcmp(code.data(), storeToFirstArgument, 4), 0);
    EXPECT_EQ(ReadLittleEndian32(&code[4]), 0xA1B2C3D4u);
    ASSERT_EQ(code[8], 0xE9);  // jmp rel32
    const std::uint32_t landing = c.address + 13 + ReadLittleEndian32(&code[9]);
    EXPECT_EQ(landing, c.target);
    for (std::size_t i = 13; i < code.size(); ++i) EXPECT_EQ(code[i], 0xCC);
  }
}

#if defined(__x86_64__)
struct Seen {
  void* self;
  unsigned message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};
Seen g_seen;

__attribute__((ms_abi)) std::intptr_t RecordCall(void* self, unsigned message, std::uintptr_t wParam,
                                                 std::intptr_t lParam) {
  g_seen = {self, message, wParam, lParam};
  return 0x1234;
}

using WindowProcedure = __attribute__((ms_abi)) std::intptr_t (*)(void*, unsigned, std::uintptr_t, std::intptr_t);

TEST(ThunkCodeTest, X64CallsTheTargetWithTheObjectInPlaceOfTheHandleAndTheRestUntouched) {
  int object = 0;
  const ExThunkCodeX64 code =
      MakeThunkCodeX64(reinterpret_cast<std::uintptr_t>(&object), reinterpret_cast<std::uintptr_t>(&RecordCall));
  void* page = mmap(nullptr, code.size(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(page, MAP_FAILED);
  std::memcpy(page, code.data(), code.size());
  ASSERT_EQ(mprotect(page, code.size(), PROT_READ | PROT_EXEC), 0);

  const auto procedure = reinterpret_cast<WindowProcedure>(page);
  void* const window = reinterpret_cast<void*>(0x5000A);
  EXPECT_EQ(procedure(window, 0x0201, ~std::uintptr_t{0} - 1, -7), 0x1234);
  EXPECT_EQ(g_seen.self, &object);
  EXPECT_EQ(g_seen.message, 0x0201u);
  EXPECT_EQ(g_seen.wParam, ~std::uintptr_t{0} - 1);
  EXPECT_EQ(g_seen.lParam, -7);
  munmap(page, code.size());
}
#endif

}  // namespace
