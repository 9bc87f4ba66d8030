// The Unix links that removal tests lay into product folders: made and
// removed at once, listed by Wine the way the removal will see them.
#include "UnixLinks.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "Handles.h"
#include "TestSupport.h"

namespace {

// The attributes the listing of `folder` gives the entry `name`; 0 when it
// lists no such entry.
DWORD ListedAttributes(const std::wstring& folder, const std::wstring& name) {
  WIN32_FIND_DATAW found = {};
  UniqueFindHandle search(FindFirstFileW((folder + L"*").c_str(), &found));
  if (!search) return 0;
  do {
    if (name == found.cFileName) return found.dwFileAttributes;
  } while (FindNextFileW(search.Get(), &found));
  return 0;
}

// Removes the link when a test ends early, before TempFolder walks into it.
class LinkGuard {
 public:
  explicit LinkGuard(std::wstring link) : m_link(std::move(link)) {}
  ~LinkGuard() { RemoveUnixLink(m_link); }
  LinkGuard(const LinkGuard&) = delete;
  LinkGuard& operator=(const LinkGuard&) = delete;

 private:
  std::wstring m_link;
};

TEST(UnixLinksTest, FolderLinkListsAsReparsePointAndGoesWithoutItsTarget) {
  TempFolder temp;
  const std::wstring target = temp.Path() + L"真的目录";
  ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
  temp.Write(L"真的目录\\canary.txt", "alive");
  const std::wstring link = temp.Path() + L"folder link";

  ASSERT_TRUE(MakeUnixLink(target, link));
  LinkGuard guard(link);
  EXPECT_EQ(ListedAttributes(temp.Path(), L"folder link"),
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
  EXPECT_EQ(ReadFileBytes(link + L"\\canary.txt"), "alive");

  ASSERT_TRUE(RemoveUnixLink(link));
  EXPECT_FALSE(Exists(link));
  EXPECT_EQ(ReadFileBytes(target + L"\\canary.txt"), "alive");
}

TEST(UnixLinksTest, FileLinkListsAsPlainFileAndGoesWithoutItsTarget) {
  TempFolder temp;
  const std::wstring target = temp.Write(L"target.txt", "alive");
  const std::wstring link = temp.Path() + L"file link.txt";

  ASSERT_TRUE(MakeUnixLink(target, link));
  LinkGuard guard(link);
  const DWORD attributes = ListedAttributes(temp.Path(), L"file link.txt");
  EXPECT_NE(attributes, 0u);
  EXPECT_EQ(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT), 0u) << attributes;
  EXPECT_EQ(ReadFileBytes(link), "alive");

  ASSERT_TRUE(RemoveUnixLink(link));
  EXPECT_FALSE(Exists(link));
  EXPECT_EQ(ReadFileBytes(target), "alive");
}

TEST(UnixLinksTest, NeitherCallTouchesWhatIsNotTheirs) {
  TempFolder temp;
  const std::wstring target = temp.Write(L"target.txt", "target");
  const std::wstring taken = temp.Write(L"taken.txt", "taken");

  // A link never replaces an entry, a dangling link included.
  EXPECT_FALSE(MakeUnixLink(target, taken));
  EXPECT_EQ(ReadFileBytes(taken), "taken");
  const std::wstring dangling = temp.Path() + L"dangling";
  ASSERT_TRUE(MakeUnixLink(temp.Path() + L"gone", dangling));
  LinkGuard guard(dangling);
  EXPECT_FALSE(MakeUnixLink(target, dangling));
  EXPECT_TRUE(RemoveUnixLink(dangling));

  // Removal takes links only.
  EXPECT_FALSE(RemoveUnixLink(taken));
  EXPECT_EQ(ReadFileBytes(taken), "taken");
  EXPECT_FALSE(RemoveUnixLink(temp.Path() + L"missing"));
}

}  // namespace
