// The uninstaller's DLL search: a DLL beside the program is never taken for
// one of System32's, by the delay-load path (LoadSystemDll, also where
// Windows lacks SetDefaultDllDirectories) or by name once the search is
// limited. The probe DLL leaves a mark beside itself when anything loads it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "SystemDllSearch.h"
#include "TestSupport.h"

namespace {

// A copy of the probe beside this program under a name of its own (cases
// may run at once), removed with its mark at the end.
class ProbeBesideProgram {
 public:
  ProbeBesideProgram() : m_name("probe-" + std::to_string(GetCurrentProcessId()) + ".dll") {
    m_path = ExecutableFolder() + std::wstring(m_name.begin(), m_name.end());
    m_copied = CopyFileW((ExecutableFolder() + L"planted_probe.dll").c_str(), m_path.c_str(), FALSE) != FALSE;
  }
  ~ProbeBesideProgram() {
    DeleteFileW(m_path.c_str());
    ClearMark();
  }
  ProbeBesideProgram(const ProbeBesideProgram&) = delete;
  ProbeBesideProgram& operator=(const ProbeBesideProgram&) = delete;

  bool Copied() const { return m_copied; }
  const std::string& Name() const { return m_name; }
  bool Loaded() const { return Exists(m_path + L".loaded"); }
  void ClearMark() const { DeleteFileW((m_path + L".loaded").c_str()); }

 private:
  std::string m_name;
  std::wstring m_path;
  bool m_copied = false;
};

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return folder;
}

TEST(SystemDllSearchTest, DelayLoadPathTakesSystem32Only) {
  ProbeBesideProgram probe;
  ASSERT_TRUE(probe.Copied());
  // By name, without the limit, the copy beside the program is found.
  UniqueModule byName(LoadLibraryA(probe.Name().c_str()));
  ASSERT_TRUE(probe.Loaded()) << "the probe is not found by name beside the program";
  probe.ClearMark();

  EXPECT_FALSE(LoadSystemDll(probe.Name().c_str()));
  EXPECT_FALSE(probe.Loaded()) << "loaded from beside the program";

  const UniqueModule version = LoadSystemDll("version.dll");
  ASSERT_TRUE(version);
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(version.Get(), path, MAX_PATH);
  EXPECT_EQ(_wcsnicmp(path, (SystemFolder() + L"\\").c_str(), SystemFolder().size() + 1), 0) << path;
}

TEST(SystemDllSearchTest, LimitedSearchSkipsTheProgramFolder) {
  ProbeBesideProgram probe;
  ASSERT_TRUE(probe.Copied());
  RestrictDllSearchToSystem32();
  UniqueModule byName(LoadLibraryA(probe.Name().c_str()));
  EXPECT_FALSE(probe.Loaded()) << "found by name beside the program";
}

}  // namespace
