#include "RemovalRules.h"

#include <algorithm>
#include <cwctype>

namespace {

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool IsDriveLetter(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

std::vector<std::wstring_view> Segments(std::wstring_view path) {
  std::vector<std::wstring_view> segments;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    segments.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return segments;
}

// An 8.3 alias such as "PROGRA~1": only the system can say what it stands for.
bool LooksLikeShortName(std::wstring_view segment) {
  for (size_t i = 0; i + 1 < segment.size(); ++i) {
    if (segment[i] == L'~' && segment[i + 1] >= L'0' && segment[i + 1] <= L'9') return true;
  }
  return false;
}

bool IsCertainSegment(std::wstring_view segment) {
  if (segment.empty() || segment == L"." || segment == L"..") return false;
  if (segment.back() == L'.' || segment.back() == L' ') return false;
  return !LooksLikeShortName(segment);
}

std::wstring Upper(std::wstring_view text) {
  std::wstring upper;
  upper.reserve(text.size());
  for (wchar_t c : text) upper += static_cast<wchar_t>(std::towupper(c));
  return upper;
}

// "C:" or "\\SERVER\SHARE" (comparable form).
bool IsRoot(const std::wstring& comparable) {
  if (comparable.size() == 2 && comparable[1] == L':') return true;
  if (!StartsWith(comparable, L"\\\\")) return false;
  const size_t shareSeparator = comparable.find(L'\\', 2);
  return shareSeparator == std::wstring::npos || comparable.find(L'\\', shareSeparator + 1) == std::wstring::npos;
}

void AppendQuoted(std::wstring& batch, std::wstring_view path) {
  batch += L'"';
  for (wchar_t c : path) batch += c == L'%' ? std::wstring(L"%%") : std::wstring(1, c);
  batch += L'"';
}

void AppendCommand(std::wstring& batch, std::wstring_view command, std::wstring_view path) {
  if (path.empty()) return;
  batch += command;
  batch += L' ';
  AppendQuoted(batch, path);
  batch += L"\r\n";
}

}  // namespace

std::wstring WithTrailingBackslash(std::wstring_view folder) {
  std::wstring result(folder);
  while (!result.empty() && IsSeparator(result.back())) result.pop_back();
  return result + L'\\';
}

std::optional<std::wstring> ComparablePath(std::wstring_view resolved) {
  std::wstring_view rest = resolved;
  std::wstring comparable;
  if (StartsWith(rest, L"\\\\?\\UNC\\")) {
    rest.remove_prefix(8);
    comparable = L"\\\\";
  } else if (StartsWith(rest, L"\\\\?\\")) {
    rest.remove_prefix(4);  // only a drive path may follow: volume and object paths are not certain
  } else if (rest.size() >= 2 && IsSeparator(rest[0]) && IsSeparator(rest[1])) {
    rest.remove_prefix(2);
    comparable = L"\\\\";
    if (!rest.empty() && (rest[0] == L'.' || rest[0] == L'?')) return std::nullopt;  // a device path
  }

  // Drop one trailing separator: "C:\Dir\" and "C:\Dir" are one folder.
  if (!rest.empty() && IsSeparator(rest.back())) rest.remove_suffix(1);
  std::vector<std::wstring_view> segments = Segments(rest);

  if (comparable.empty()) {
    const std::wstring_view drive = segments.front();
    if (drive.size() != 2 || !IsDriveLetter(drive[0]) || drive[1] != L':') return std::nullopt;
    comparable = Upper(drive);
  } else {
    // "\\SERVER\SHARE": a share whose name ends in "$" is an administrative
    // or hidden one, such as "C$", another name for a local drive.
    if (segments.size() < 2 || segments[0].empty() || segments[1].empty() || segments[1].back() == L'$') {
      return std::nullopt;
    }
    comparable += Upper(segments[0]);
    comparable += L'\\';
    comparable += Upper(segments[1]);
    segments.erase(segments.begin());
  }
  for (size_t i = 1; i < segments.size(); ++i) {
    if (!IsCertainSegment(segments[i])) return std::nullopt;
    comparable += L'\\';
    comparable += Upper(segments[i]);
  }
  return comparable;
}

bool IsDrivePath(std::wstring_view path) {
  if (StartsWith(path, L"\\\\?\\")) path.remove_prefix(4);
  return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]);
}

bool IsWithinFolder(const std::wstring& inner, const std::wstring& outer) {
  if (outer.empty() || inner.compare(0, outer.size(), outer) != 0) return false;
  return inner.size() == outer.size() || inner[outer.size()] == L'\\';
}

bool IsProtectedFolder(std::wstring_view folder, const std::vector<std::wstring>& protectedFolders) {
  const std::optional<std::wstring> comparable = ComparablePath(folder);
  if (!comparable || IsRoot(*comparable)) return true;
  return std::any_of(protectedFolders.begin(), protectedFolders.end(), [&](const std::wstring& system) {
    const std::optional<std::wstring> systemFolder = ComparablePath(system);
    return systemFolder && IsWithinFolder(*systemFolder, *comparable);
  });
}

bool IsPlainFileName(std::wstring_view name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  if (name.back() == L'.' || name.back() == L' ') return false;
  if (std::any_of(name.begin(), name.end(), [](wchar_t c) {
        return c < 0x20 || c == 0x7F || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
      })) {
    return false;
  }
  // Device names stay devices whatever extension follows them.
  const std::wstring stem = Upper(name.substr(0, name.find(L'.')));
  for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
    if (stem == device) return false;
  }
  const bool numberedDevice =
      stem.size() == 4 && (StartsWith(stem, L"COM") || StartsWith(stem, L"LPT")) && stem[3] >= L'0' && stem[3] <= L'9';
  return !numberedDevice;
}

bool IsShortcutFile(std::wstring_view path) {
  if (path.size() < 4) return false;
  const std::wstring extension = Upper(path.substr(path.size() - 4));
  return extension == L".LNK" || extension == L".URL";
}

RemovalPolicy::RemovalPolicy(const std::vector<std::wstring>& ownedFolders, std::vector<std::wstring> protectedFolders,
                             const std::vector<std::wstring>& shortcutPlaces, const std::wstring& productFolder)
    : m_protected(std::move(protectedFolders)) {
  if (!IsProtectedFolder(productFolder, m_protected)) m_productFolder = *ComparablePath(productFolder);
  for (const std::wstring& folder : ownedFolders) {
    if (!IsProtectedFolder(folder, m_protected)) m_owned.push_back(*ComparablePath(folder));
  }
  for (const std::wstring& folder : shortcutPlaces) {
    if (std::optional<std::wstring> place = ComparablePath(folder)) m_shortcutPlaces.push_back(*place);
  }
}

bool RemovalPolicy::Owns(const std::wstring& path) const {
  return std::any_of(m_owned.begin(), m_owned.end(),
                     [&](const std::wstring& folder) { return IsWithinFolder(path, folder); });
}

bool RemovalPolicy::IsOwnedFolder(const std::wstring& path) const {
  return std::find(m_owned.begin(), m_owned.end(), path) != m_owned.end();
}

bool RemovalPolicy::IsShortcutPlace(const std::wstring& folder) const {
  return std::find(m_shortcutPlaces.begin(), m_shortcutPlaces.end(), folder) != m_shortcutPlaces.end();
}

bool RemovalPolicy::MayRemove(Removal kind, const std::wstring& path) const {
  switch (kind) {
    case Removal::kOwnedFolder:
      return IsOwnedFolder(path) && !IsProtectedFolder(path, m_protected);
    case Removal::kFolderTree:
      return Owns(path) && !IsOwnedFolder(path) && !IsProtectedFolder(path, m_protected);
    case Removal::kEmptyFolder:
      // The start-menu folder too: it goes once the product's shortcuts have.
      return (Owns(path) || IsShortcutPlace(path)) && !IsProtectedFolder(path, m_protected);
    case Removal::kFile:
    case Removal::kSettingsFile:
      return Owns(path) && !IsOwnedFolder(path);
    case Removal::kShortcut: {
      if (Owns(path) && !IsOwnedFolder(path)) return true;
      const size_t separator = path.rfind(L'\\');
      return IsShortcutFile(path) && separator != std::wstring::npos && IsShortcutPlace(path.substr(0, separator));
    }
  }
  return false;
}

bool RemovalPolicy::MayRemoveShortcut(const std::wstring& path, const std::optional<std::wstring>& target) const {
  if (!MayRemove(Removal::kShortcut, path)) return false;
  return (Owns(path) && !IsOwnedFolder(path)) ||
         (target && (Owns(*target) || IsWithinFolder(*target, m_productFolder)));
}

bool RemovalPolicy::MayRemoveOpened(Removal kind, const std::wstring& path, const std::wstring& finalPath) const {
  if (!MayRemove(kind, path)) return false;
  if (finalPath == path) return true;
  const bool linkable = kind == Removal::kFile || kind == Removal::kShortcut;
  return linkable && Owns(finalPath) && MayRemove(Removal::kFile, finalPath);
}

std::wstring UninstallProgram(std::wstring_view command) {
  while (!command.empty() && command.front() == L' ') command.remove_prefix(1);
  if (!command.empty() && command.front() == L'"') {
    const size_t end = command.find(L'"', 1);
    return end == std::wstring_view::npos ? std::wstring() : std::wstring(command.substr(1, end - 1));
  }
  const size_t exe = Upper(command).find(L".EXE");
  return exe == std::wstring::npos ? std::wstring() : std::wstring(command.substr(0, exe + 4));
}

bool IsBatchSafePath(std::wstring_view path) {
  return std::none_of(path.begin(), path.end(), [](wchar_t c) { return c == L'"' || c < 0x20 || c == 0x7F; });
}

std::wstring FormatSelfDeleteBatch(std::wstring_view systemFolder, unsigned long processId,
                                   std::wstring_view programPath, const std::vector<std::wstring>& leftovers,
                                   std::wstring_view folder) {
  std::wstring batch = L"@ echo off\r\n";
  const bool wait = !systemFolder.empty();
  const std::wstring moreRounds = L"if %round% lss " + std::to_wstring(kBatchWaitRounds) + L" goto wait\r\n";
  if (wait) {
    // The process by its id, and by its file name too: once it has ended, a
    // new process may get the same id. tasklist also lists nothing at all
    // where it cannot (Wine's), hence the second condition below; the
    // "INFO:" line it writes when nothing matches holds no id.
    const std::wstring id = std::to_wstring(processId);
    batch += L"set /a round=0\r\n:wait\r\nset /a round+=1\r\n";
    AppendQuoted(batch, std::wstring(systemFolder) + L"\\tasklist.exe");
    batch += L" /nh /fi \"PID eq " + id + L"\"";
    if (!programPath.empty()) {
      const size_t slash = programPath.rfind(L'\\');
      batch += L" /fi ";
      AppendQuoted(batch, L"IMAGENAME eq " +
                              std::wstring(slash == programPath.npos ? programPath : programPath.substr(slash + 1)));
    }
    batch += L" | ";
    AppendQuoted(batch, std::wstring(systemFolder) + L"\\find.exe");
    batch += L" \" " + id + L" \" >nul\r\nif not errorlevel 1 " + moreRounds;
  }
  AppendCommand(batch, L"del", programPath);
  if (wait && !programPath.empty()) {
    batch += L"if exist ";
    AppendQuoted(batch, programPath);
    batch += L" " + moreRounds;
  }
  for (const std::wstring& leftover : leftovers) AppendCommand(batch, L"del", leftover);
  AppendCommand(batch, L"rd", folder);
  batch += L"del %0";
  return batch;
}
