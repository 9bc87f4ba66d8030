// pvUninstall runs elevated from the product's folder, which a standard user
// may be able to write: a DLL planted there under the name of one the
// program, or Windows on its behalf, loads must never be loaded. Each case
// copies the program into a folder of its own beside the planted DLL, runs
// it until its dialog shows and closes it; only once it has ended is
// everything it would ever load loaded.
//
// Wine takes its own copy of a DLL it implements even when one lies beside
// the program, where Windows takes the program folder's copy of any DLL that
// is not a known DLL; so each case has Wine prefer the file beside the
// program, as Windows does (a WINEDLLOVERRIDES of "<name>=n,b" would too,
// but Wine reads that from the Unix environment, not from what a parent
// process sets).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestSupport.h"

namespace {

constexpr wchar_t kProgramName[] = L"pvUninstall.exe";
constexpr wchar_t kAppTitle[] = L"Tesk软件-卸载程序";
constexpr wchar_t kProbeName[] = L"planted_probe.dll";

// Has Wine take the copy of a DLL beside pvUninstall.exe before its own,
// for programs of that name started while it lives (Wine's per-program
// overrides; Windows ignores the key). Only this DLL's value goes at the
// end: cases may run at once.
class NativeFirstForProgram {
 public:
  explicit NativeFirstForProgram(const std::wstring& dll) : m_stem(dll.substr(0, dll.rfind(L'.'))) {
    RegCreateKeyExW(HKEY_CURRENT_USER, kOverridesKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, m_key.Put(), nullptr);
    m_set = RegSetValueExW(m_key.Get(), m_stem.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kNativeFirst),
                           sizeof kNativeFirst) == ERROR_SUCCESS;
  }
  ~NativeFirstForProgram() { RegDeleteValueW(m_key.Get(), m_stem.c_str()); }
  NativeFirstForProgram(const NativeFirstForProgram&) = delete;
  NativeFirstForProgram& operator=(const NativeFirstForProgram&) = delete;

  bool isSet() const { return m_set; }

 private:
  static constexpr wchar_t kOverridesKey[] = L"Software\\Wine\\AppDefaults\\pvUninstall.exe\\DllOverrides";
  static constexpr wchar_t kNativeFirst[] = L"native,builtin";

  std::wstring m_stem;
  UniqueRegKey m_key;
  bool m_set = false;
};

class PlantedDllTest : public testing::TestWithParam<const wchar_t*> {};

TEST_P(PlantedDllTest, IsNotLoadedAndTheProgramStarts) {
  const std::wstring dll = GetParam();
  TempFolder folder;
  ASSERT_TRUE(CopyFileW((ExecutableFolder() + kProgramName).c_str(), (folder.Path() + kProgramName).c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((ExecutableFolder() + kProbeName).c_str(), (folder.Path() + dll).c_str(), FALSE));

  NativeFirstForProgram nativeFirst(dll);
  ASSERT_TRUE(nativeFirst.isSet());

  ChildProcess program;
  ASSERT_TRUE(program.Start(folder.Path() + kProgramName, std::wstring(), folder.Path())) << GetLastError();
  HWND dialog = nullptr;
  WaitUntil(
      [&] {
        dialog = FindShownWindow(program.Id(), kAppTitle);
        return dialog != nullptr || WaitForSingleObject(program.Handle(), 0) == WAIT_OBJECT_0;
      },
      20000);
  EXPECT_NE(dialog, nullptr) << "pvUninstall never showed its dialog";
  if (dialog != nullptr) PostMessageW(dialog, WM_CLOSE, 0, 0);
  if (!program.WaitForExit(20000)) program.Kill();

  EXPECT_FALSE(Exists(folder.Path() + dll + L".loaded")) << "pvUninstall loaded the " << dll << " planted beside it";
}

// The DLLs the program uses, none a known DLL on every supported Windows
// (gdiplus is not on Windows 7, wininet not on 10 and 11), and two that
// Windows (uxtheme) or those DLLs (mpr, under Wine) load by name. Left out,
// since Wine alone loads them from beside the program whatever it does:
// version.dll and zlib1.dll, which Wine's user32 imports at start (Windows'
// user32 is a known DLL, its imports known too), and dnsapi, iphlpapi,
// propsys and windowscodecs, which Wine's own DLLs delay-load through Wine's
// default search, past SetDefaultDllDirectories.
INSTANTIATE_TEST_SUITE_P(Names, PlantedDllTest,
                         testing::Values(L"bcrypt.dll", L"dbghelp.dll", L"gdiplus.dll", L"mpr.dll", L"uxtheme.dll",
                                         L"wininet.dll"),
                         [](const testing::TestParamInfo<const wchar_t*>& info) {
                           std::string name;
                           for (const wchar_t* c = info.param; *c != L'.'; ++c) name += static_cast<char>(*c);
                           return name;
                         });

}  // namespace
