#include <gtest/gtest.h>

#include <cwctype>
#include <string>

#include "Handles.h"
#include "PvHelpers.h"

namespace {

constexpr wchar_t kParvaneKey[] = L"SOFTWARE\\Parvane";

// Each test starts and ends without the identifier key.
class CreateUidTest : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kParvaneKey); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kParvaneKey); }

  static void Store(const std::wstring& uid) {
    UniqueRegKey key;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, kParvaneKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
        ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.Get(), L"UID", 0, REG_SZ, reinterpret_cast<const BYTE*>(uid.c_str()),
                             static_cast<DWORD>((uid.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }

  static std::wstring Stored() {
    wchar_t value[64] = {};
    DWORD bytes = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, kParvaneKey, L"UID", RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
      return L"<missing>";
    }
    return value;
  }

  static std::wstring Create(int save = 1) {
    wchar_t uid[23];
    std::fill(std::begin(uid), std::end(uid), L'#');
    CreateUID(uid, save);
    return uid;
  }
};

bool IsFreshIdentifier(const std::wstring& uid) {
  if (uid.size() < 20 || uid.size() > 22 || uid.compare(0, 2, L"PV") != 0) return false;
  for (size_t i = 2; i < uid.size(); ++i) {
    if (!std::iswdigit(uid[i])) return false;
  }
  return true;
}

TEST_F(CreateUidTest, NewIdentifierIsStoredAndKept) {
  const std::wstring first = Create();
  EXPECT_TRUE(IsFreshIdentifier(first)) << first;
  EXPECT_EQ(Stored(), first);
  Sleep(20);
  EXPECT_EQ(Create(), first);
}

TEST_F(CreateUidTest, TwentyCharacterValueIsKeptWhateverItsContent) {
  Store(L"abcdefghij0123456789");
  EXPECT_EQ(Create(), L"abcdefghij0123456789");
  EXPECT_EQ(Stored(), L"abcdefghij0123456789");
}

TEST_F(CreateUidTest, IdentifierWrittenAfterLongUptimeIsKept) {
  Store(L"PV1080000000001234567");
  EXPECT_EQ(Create(), L"PV1080000000001234567");
  Store(L"PV4000000000000120034");
  EXPECT_EQ(Create(), L"PV4000000000000120034");
}

TEST_F(CreateUidTest, OtherStoredValuesAreReplaced) {
  // The last one is longer than the 30 units read back.
  const std::wstring values[] = {L"", L"PV123", L"PVabcdefghijklmnopqrs", L"PV" + std::wstring(38, L'9')};
  for (const std::wstring& stored : values) {
    Store(stored);
    const std::wstring created = Create();
    EXPECT_TRUE(IsFreshIdentifier(created)) << created;
    EXPECT_EQ(Stored(), created);
  }
}

TEST_F(CreateUidTest, WithoutSaveNothingIsStored) {
  EXPECT_TRUE(IsFreshIdentifier(Create(0)));
  UniqueRegKey key;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kParvaneKey, 0, KEY_READ, key.Put()), ERROR_SUCCESS);
}

}  // namespace
