#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PvHelpers.h"
#include "PvSkin.h"
#include "SkinPackage.h"
#include "TestSupport.h"

namespace {

// The files of a folder in the order the system lists them.
std::vector<std::wstring> ListingOrder(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found = {};
  HANDLE listing = FindFirstFileW((folder + L"*.*").c_str(), &found);
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileW(listing, &found));
  FindClose(listing);
  return names;
}

std::string Entry(const std::wstring& fileName, const std::string& data) {
  const std::u16string name = skinpkg::EntryName(reinterpret_cast<const char16_t*>(fileName.c_str()));
  const std::vector<uint8_t> header = skinpkg::EntryHeader(name, static_cast<uint32_t>(data.size()));
  return std::string(header.begin(), header.end()) + data;
}

std::string StreamBytes(IStream* stream) {
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  if (!bytes.empty()) stream->Read(&bytes[0], static_cast<ULONG>(bytes.size()), &read);
  return bytes;
}

// A skin folder beside the test program, removed afterwards.
class SkinFolder {
 public:
  explicit SkinFolder(const std::wstring& name) : m_path(ExecutableFolder() + L"Skins\\" + name + L"\\") {
    CreateDirectoryW((ExecutableFolder() + L"Skins").c_str(), nullptr);
    CreateDirectoryW(m_path.c_str(), nullptr);
  }
  ~SkinFolder() {
    DeleteFileW(PackagePath().c_str());
    RemoveDirectoryW(m_path.c_str());
    RemoveDirectoryW((ExecutableFolder() + L"Skins").c_str());
  }
  std::wstring PackagePath() const { return m_path + CPvSkin::kPackageFile; }

 private:
  std::wstring m_path;
};

TEST(SkinTest, PackageHoldsEveryFileInListingOrderWithExactSizes) {
  TempFolder source;
  source.Write(L"button.png", std::string(300, 'b'));
  source.Write(L"checkbox.png", "check");
  source.Write(L"empty.png", "");
  CreateDirectoryW((source.Path() + L"nested").c_str(), nullptr);
  TempFolder out;
  CPvSkin skin;
  ASSERT_TRUE(skin.MakeSkin(source.Path().c_str(), (out.Path() + L"skin.dat").c_str()));

  std::string expected;
  for (const std::wstring& name : ListingOrder(source.Path())) {
    expected += Entry(name, ReadFileBytes(source.Path() + name));
  }
  EXPECT_EQ(ReadFileBytes(out.Path() + L"skin.dat"), expected);
  EXPECT_EQ(expected.size(), 3 * 64 + 300 + 5u);
}

TEST(SkinTest, UnlistableFolderMakesNoPackage) {
  TempFolder out;
  CPvSkin skin;
  EXPECT_FALSE(skin.MakeSkin(L"Z:\\no\\such\\folder\\", (out.Path() + L"skin.dat").c_str()));
}

TEST(SkinTest, LoadedEntriesAreFoundOnceThenServedFromTheCache) {
  SkinFolder folder(L"cachetest");
  TempFolder source;
  source.Write(L"button.png", "png bytes");
  source.Write(L"button.bmp", "bmp bytes");
  const std::vector<std::wstring> order = ListingOrder(source.Path());
  CPvSkin skin;
  ASSERT_TRUE(skin.MakeSkin(source.Path().c_str(), folder.PackagePath().c_str()));

  ASSERT_TRUE(skin.LoadSkin(L"cachetest"));
  EXPECT_EQ(skin.GetResType(), CPvSkin::kPackage);
  IStream* first = nullptr;
  ASSERT_TRUE(skin.GetRes(L"button", &first));
  EXPECT_EQ(StreamBytes(first), ReadFileBytes(source.Path() + order.front()));
  IStream* second = nullptr;
  ASSERT_TRUE(skin.GetRes(L"button", &second));
  EXPECT_EQ(second, first);
  EXPECT_EQ(skin.GetCacheSize(), 1u);
  IStream* missing = nullptr;
  EXPECT_FALSE(skin.GetRes(L"checkbox", &missing));

  skin.FreeSkin();
  EXPECT_EQ(skin.GetCacheSize(), 0u);
  EXPECT_FALSE(skin.GetRes(L"button", &missing));
}

TEST(SkinTest, DamagedOrMissingPackagesAnswerSafely) {
  SkinFolder folder(L"damaged");
  std::string package = Entry(L"ok.png", "fine") + Entry(L"last.png", "");
  package[package.size() - 4] = 0x40;  // the last entry claims 64 bytes that are not there
  {
    UniqueFileHandle file(
        CreateFileW(folder.PackagePath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), package.data(), static_cast<DWORD>(package.size()), &written, nullptr);
  }
  CPvSkin skin;
  ASSERT_TRUE(skin.LoadSkin(L"damaged"));
  IStream* stream = nullptr;
  EXPECT_FALSE(skin.GetRes(L"last", &stream));
  EXPECT_FALSE(skin.GetRes(L"absent", &stream));
  ASSERT_TRUE(skin.GetRes(L"ok", &stream));
  EXPECT_EQ(StreamBytes(stream), "fine");

  EXPECT_FALSE(skin.LoadSkin(L"no-such-skin"));
  EXPECT_EQ(skin.GetPackageSize(), 0u);
  EXPECT_FALSE(skin.GetRes(L"ok", &stream));
}

TEST(SkinTest, FoldersAreNamedFromTheProgramFolder) {
  CPvSkin skin;
  EXPECT_EQ(skin.GetResType(), CPvSkin::kEmbedded);
  skin.SetThemesName(L"blue");
  EXPECT_EQ(skin.GetResType(), CPvSkin::kTheme);
  wchar_t themes[MAX_PATH] = {};
  skin.GetThemesPath(themes);
  EXPECT_EQ(std::wstring(themes), ExecutableFolder() + L"Themes\\blue\\");
  skin.SetSkinName(L"dark");
  EXPECT_EQ(skin.GetResType(), CPvSkin::kPackage);
  EXPECT_EQ(skin.GetSkinPath(), ExecutableFolder() + L"Skins\\dark\\");
}

}  // namespace
