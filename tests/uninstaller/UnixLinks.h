// Unix symbolic links made and removed from a test under Wine, the way a user
// of the real program may have them in a product folder. Wine 8's
// CreateSymbolicLinkW is a stub, and in the sandbox prefix no drive reaches
// /bin, so Wine itself runs the Unix tools: __wine_unix_spawnvp (ntdll) forks
// and execs a Unix program and, told to wait, returns its exit code. (A Unix
// program started through CreateProcessW gets no process handle to wait on.)
// Paths are Windows paths of the prefix; wine_get_unix_file_name (kernel32)
// turns them into Unix ones. Outside Wine every call fails.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace unix_links {

struct HeapFreeDeleter {
  void operator()(char* text) const { HeapFree(GetProcessHeap(), 0, text); }
};

// The Unix path of a Windows path (its last part need not exist); empty when
// Wine cannot map it.
inline std::string UnixPath(const std::wstring& windowsPath) {
  using GetUnixFileName = char*(CDECL*)(const wchar_t*);
  const auto lookUp = reinterpret_cast<GetUnixFileName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (lookUp == nullptr) return std::string();
  // Wine allocates the name on the process heap; the caller frees it.
  const std::unique_ptr<char, HeapFreeDeleter> name(lookUp(windowsPath.c_str()));
  return name ? std::string(name.get()) : std::string();
}

// Runs a Unix program (argument 0 is its path) and waits for it: its exit
// code, or -1 when it could not be started.
inline int RunUnixProgram(const std::vector<std::string>& arguments) {
  using UnixSpawn = LONG(WINAPI*)(char* const*, int);
  const auto spawn = reinterpret_cast<UnixSpawn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
  if (spawn == nullptr || arguments.empty()) return -1;
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const LONG status = spawn(argv.data(), TRUE);
  // An exit code is 0..255; anything else is an NTSTATUS of a failed start.
  return status >= 0 && status <= 255 ? static_cast<int>(status) : -1;
}

}  // namespace unix_links

// Makes `link` a Unix symbolic link to `target` (a file or a folder, which
// need not exist). Fails when anything, a dangling link too, is at `link`.
inline bool MakeUnixLink(const std::wstring& target, const std::wstring& link) {
  const std::string unixTarget = unix_links::UnixPath(target);
  const std::string unixLink = unix_links::UnixPath(link);
  if (unixTarget.empty() || unixLink.empty()) return false;
  return unix_links::RunUnixProgram({"/bin/ln", "-s", "--", unixTarget, unixLink}) == 0;
}

// Removes the Unix symbolic link `link` itself, never its target (on Wine,
// DeleteFileW on a file link deletes the target). Fails, removing nothing,
// when `link` is not a symbolic link.
inline bool RemoveUnixLink(const std::wstring& link) {
  const std::string unixLink = unix_links::UnixPath(link);
  if (unixLink.empty()) return false;
  return unix_links::RunUnixProgram({"/bin/sh", "-c", "test -L \"$1\" && rm -f -- \"$1\"", "sh", unixLink}) == 0;
}
