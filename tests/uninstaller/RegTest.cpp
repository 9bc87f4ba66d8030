#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "Handles.h"
#include "PvReg.h"

namespace {

constexpr wchar_t kTestKey[] = L"Software\\QuoblyTests\\Reg";

void SetString(HKEY key, const wchar_t* name, const std::wstring& text) {
  ASSERT_EQ(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

class GetRegInfoTest : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, m_key.Put(), nullptr),
        ERROR_SUCCESS);
  }
  void TearDown() override {
    m_key.Reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
  }

  void SetUnterminated(const wchar_t* name, const std::wstring& text) {
    ASSERT_EQ(RegSetValueExW(m_key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  int Read(const wchar_t* name, int use64BitView = 0) {
    return CPvReg::Instance().GetRegInfo(HKEY_CURRENT_USER, kTestKey, name, use64BitView, m_out);
  }

  UniqueRegKey m_key;
  wchar_t m_out[MAX_PATH + 1] = {};
};

TEST_F(GetRegInfoTest, ReadsStringValueInEitherView) {
  SetString(m_key.Get(), L"Name", L"Tesk软件");
  EXPECT_EQ(Read(L"Name"), 1);
  EXPECT_STREQ(m_out, L"Tesk软件");
  // HKEY_CURRENT_USER\Software is shared by both views on 64-bit Windows.
  m_out[0] = L'\0';
  EXPECT_EQ(Read(L"Name", 1), 1);
  EXPECT_STREQ(m_out, L"Tesk软件");
}

TEST_F(GetRegInfoTest, ValueMustFitIn129Units) {
  SetString(m_key.Get(), L"Fits", std::wstring(129, L'x'));
  EXPECT_EQ(Read(L"Fits"), 1);
  EXPECT_EQ(std::wstring(m_out), std::wstring(129, L'x'));

  SetString(m_key.Get(), L"TooLong", std::wstring(130, L'y'));
  EXPECT_EQ(Read(L"TooLong"), 0);
}

TEST_F(GetRegInfoTest, UnterminatedValueStillReadsAsTerminatedText) {
  // Stored without its terminator, with room for one in the reader's buffer:
  // read whole and terminated everywhere.
  SetUnterminated(L"Short", std::wstring(129, L'z'));
  std::fill(std::begin(m_out), std::end(m_out), L'#');
  ASSERT_EQ(Read(L"Short"), 1);
  EXPECT_EQ(std::wstring(m_out), std::wstring(129, L'z'));

  // Filling the buffer exactly: Windows reads it, Wine refuses it; either way
  // no unterminated text reaches the caller.
  const std::wstring full(130, L'z');
  SetUnterminated(L"Full", full);
  std::fill(std::begin(m_out), std::end(m_out), L'#');
  if (Read(L"Full") == 1) {
    EXPECT_EQ(std::wstring(m_out), full);
  } else {
    EXPECT_EQ(m_out[0], L'#') << "a refused read leaves the caller's buffer alone";
  }
}

TEST_F(GetRegInfoTest, MissingKeyOrValueFails) {
  EXPECT_EQ(Read(L"Absent"), 0);
  EXPECT_EQ(CPvReg::Instance().GetRegInfo(HKEY_CURRENT_USER, L"Software\\QuoblyTests\\NoSuchKey", L"Name", 0, m_out),
            0);
}

// A machine-wide key whose access list grants reading only, as HKEY_LOCAL_MACHINE
// keys are for a user without administrator rights.
TEST(GetRegInfoMachineTest, KeyWithoutFullAccessFails) {
  constexpr wchar_t kKey[] = L"Software\\QuoblyTests\\ReadOnly";
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\QuoblyTests");
  UniqueRegKey key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
            ERROR_SUCCESS);
  SetString(key.Get(), L"debug", L"1");

  PSECURITY_DESCRIPTOR readOnly = nullptr;
  ASSERT_TRUE(
      ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr));
  ASSERT_EQ(RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
  LocalFree(readOnly);
  key.Reset();

  wchar_t out[MAX_PATH + 1] = {};
  EXPECT_EQ(CPvReg::Instance().GetRegInfo(HKEY_LOCAL_MACHINE, kKey, L"debug", 0, out), 0);
  UniqueRegKey readable;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, readable.Put()), ERROR_SUCCESS);

  // The owner may always rewrite the access list, which makes the key removable again.
  readable.Reset();
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, WRITE_DAC, key.Put()), ERROR_SUCCESS);
  PSECURITY_DESCRIPTOR open = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;KA;;;WD)", SDDL_REVISION_1, &open, nullptr));
  RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, open);
  LocalFree(open);
  key.Reset();
  EXPECT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\QuoblyTests"), ERROR_SUCCESS);
}

}  // namespace
