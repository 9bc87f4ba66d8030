#include "RemovalGuard.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <vector>

#include "PvLog.h"
#include "SettingsText.h"
#include "ShortcutTarget.h"

namespace {

// Long enough for any path Windows hands out, "\\?\" forms included.
constexpr DWORD kPathUnits = 32768;

// A shell, search indexer or virus scanner reading a file holds it for a
// moment without sharing its deletion; it is given this long to let go.
constexpr int kSharedOpenAttempts = 5;
constexpr DWORD kSharedOpenPauseMs = 40;

HANDLE OpenWhenNotHeld(const std::wstring& path, DWORD access, DWORD share) {
  for (int attempt = 1;; ++attempt) {
    const HANDLE handle = CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION ||
        attempt == kSharedOpenAttempts) {
      return handle;
    }
    Sleep(kSharedOpenPauseMs);
  }
}

// A local drive's path by its text, and not on a drive mapped to a share:
// anything else could make this process authenticate to a server.
bool IsLocalDrivePath(const std::wstring& path) {
  if (!IsDrivePath(path)) return false;
  const size_t drive = path.compare(0, 4, L"\\\\?\\") == 0 ? 4 : 0;
  const wchar_t root[] = {path[drive], L':', L'\\', L'\0'};
  return GetDriveTypeW(root) != DRIVE_REMOTE;
}

std::optional<std::wstring> FinalPath(HANDLE handle) {
  std::wstring path(kPathUnits, L'\0');
  const DWORD length = GetFinalPathNameByHandleW(handle, &path[0], kPathUnits, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= kPathUnits) return std::nullopt;
  path.resize(length);
  return ComparablePath(path);
}

// The system's folders and the user's own, none of which a record may have
// removed, whatever it names.
std::vector<std::wstring> ProtectedFolderPaths() {
  static const int kFolders[] = {CSIDL_WINDOWS,
                                 CSIDL_SYSTEM,
                                 CSIDL_PROGRAM_FILES,
                                 CSIDL_PROGRAM_FILESX86,
                                 CSIDL_PROGRAM_FILES_COMMON,
                                 CSIDL_PROGRAM_FILES_COMMONX86,
                                 CSIDL_PROFILE,
                                 CSIDL_PERSONAL,
                                 CSIDL_MYMUSIC,
                                 CSIDL_MYPICTURES,
                                 CSIDL_MYVIDEO,
                                 CSIDL_APPDATA,
                                 CSIDL_LOCAL_APPDATA,
                                 CSIDL_COMMON_APPDATA,
                                 CSIDL_COMMON_DOCUMENTS,
                                 CSIDL_STARTMENU,
                                 CSIDL_COMMON_STARTMENU,
                                 CSIDL_PROGRAMS,
                                 CSIDL_COMMON_PROGRAMS,
                                 CSIDL_STARTUP,
                                 CSIDL_COMMON_STARTUP,
                                 CSIDL_DESKTOPDIRECTORY,
                                 CSIDL_COMMON_DESKTOPDIRECTORY,
                                 CSIDL_FAVORITES,
                                 CSIDL_COMMON_FAVORITES};
  std::vector<std::wstring> folders;
  for (int csidl : kFolders) {
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) && path[0] != L'\0') {
      folders.emplace_back(path);
    }
  }
  // A 32-bit process on 64-bit Windows is told the "(x86)" folders for
  // CSIDL_PROGRAM_FILES: the 64-bit ones are read from the 64-bit view.
  UniqueRegKey current;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                    KEY_QUERY_VALUE | KEY_WOW64_64KEY, current.Put()) == ERROR_SUCCESS) {
    for (const wchar_t* value :
         {L"ProgramFilesDir", L"ProgramFilesDir (x86)", L"CommonFilesDir", L"CommonFilesDir (x86)"}) {
      wchar_t path[MAX_PATH] = {};
      DWORD bytes = sizeof path;
      if (RegGetValueW(current.Get(), nullptr, value, RRF_RT_REG_SZ, nullptr, path, &bytes) == ERROR_SUCCESS &&
          path[0] != L'\0') {
        folders.emplace_back(path);
      }
    }
  }
  // Folders with no CSIDL of their own.
  for (const KNOWNFOLDERID& id : {FOLDERID_Downloads, FOLDERID_Public, FOLDERID_UserProfiles}) {
    wchar_t* path = nullptr;
    const HRESULT found = SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path);
    const UniqueTaskMemory owned(path);
    if (SUCCEEDED(found) && path != nullptr && path[0] != L'\0') folders.emplace_back(path);
  }
  return folders;
}

// A shortcut is a few kilobytes; one larger is not read and so not removed.
constexpr std::size_t kMaxShortcutBytes = 64 * 1024;

// Up to `limit` bytes of the file open as `file`, read through that very
// handle; a byte more tells that the file is longer. Nothing when it cannot
// be read.
std::optional<std::vector<std::uint8_t>> ReadAtMost(HANDLE file, std::size_t limit) {
  std::vector<std::uint8_t> bytes(limit + 1);
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    DWORD read = 0;
    if (!ReadFile(file, bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled), &read, nullptr)) {
      return std::nullopt;
    }
    if (read == 0) break;
    filled += read;
  }
  bytes.resize(filled);
  return bytes;
}

// Whether the settings file open as `file` holds a setting; one that cannot
// be read is taken to hold one.
bool ReadHoldsSetting(HANDLE file) {
  const std::optional<std::vector<std::uint8_t>> bytes = ReadAtMost(file, kMaxSettingsBytes);
  return !bytes || HoldsSetting(bytes->data(), bytes->size());
}

// The access Open asks for, by kind.
DWORD OpenAccess(Removal kind) {
  switch (kind) {
    case Removal::kOwnedFolder:
    case Removal::kFolderTree:
      return FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY;
    case Removal::kSettingsFile:
    case Removal::kShortcut:
      return FILE_READ_ATTRIBUTES | DELETE | FILE_READ_DATA;
    default:
      return FILE_READ_ATTRIBUTES | DELETE;
  }
}

void LogRefusal(const wchar_t* why, const std::wstring& path) {
  WriteLog((std::wstring(L"uninstall: kept ") + path + L" (" + why + L")").c_str());
}

}  // namespace

CPvRemovalGuard::CPvRemovalGuard() {
  // Each folder as its text resolves and as the object it opens: in a Wine
  // prefix the user's folders may be links into the Unix home folder.
  for (const std::wstring& folder : ProtectedFolderPaths()) {
    const std::optional<std::wstring> resolved = Resolve(folder);
    if (!resolved) continue;
    m_protectedFolders.push_back(*resolved);
    if (std::optional<RemovalTarget> opened = OpenTarget(folder, *resolved, FILE_READ_ATTRIBUTES)) {
      m_protectedFolders.push_back(opened->finalPath);
    }
  }
}

void CPvRemovalGuard::Own(const std::vector<std::wstring>& folders, const std::vector<std::wstring>& shortcutPlaces,
                          const std::wstring& productFolder) {
  std::vector<std::wstring> owned;
  for (const std::wstring& folder : folders) {
    const std::optional<std::wstring> resolved = Resolve(folder);
    if (resolved && !IsProtectedFolder(*resolved, m_protectedFolders)) {
      owned.push_back(*resolved);
    } else if (!folder.empty()) {
      LogRefusal(L"not a folder the product may own", folder);
    }
  }
  std::vector<std::wstring> places;
  for (const std::wstring& place : shortcutPlaces) {
    if (const std::optional<std::wstring> resolved = Resolve(place)) places.push_back(*resolved);
  }
  m_policy = RemovalPolicy(owned, m_protectedFolders, places, Resolve(productFolder).value_or(std::wstring()));
}

std::optional<std::wstring> CPvRemovalGuard::ShortcutTarget(const RemovalTarget& shortcut) const {
  const std::optional<std::vector<std::uint8_t>> bytes = ReadAtMost(shortcut.handle.Get(), kMaxShortcutBytes);
  if (!bytes || bytes->size() > kMaxShortcutBytes) return std::nullopt;
  const std::wstring& path = shortcut.path;
  const bool internetShortcut = path.size() >= 4 && path.compare(path.size() - 4, 4, L".URL") == 0;
  const std::optional<std::wstring> target =
      internetShortcut ? InternetShortcutTarget(*bytes) : ShellLinkTarget(*bytes);
  return target ? Resolve(*target) : std::nullopt;
}

std::optional<std::wstring> CPvRemovalGuard::Resolve(const std::wstring& path) const {
  if (!IsLocalDrivePath(path)) return std::nullopt;
  std::wstring full(kPathUnits, L'\0');
  const DWORD fullLength = GetFullPathNameW(path.c_str(), kPathUnits, &full[0], nullptr);
  if (fullLength == 0 || fullLength >= kPathUnits) return std::nullopt;
  full.resize(fullLength);
  // Short names become long ones where the path exists; where it does not,
  // one left over makes the path uncertain.
  std::wstring longPath(kPathUnits, L'\0');
  const DWORD longLength = GetLongPathNameW(full.c_str(), &longPath[0], kPathUnits);
  if (longLength > 0 && longLength < kPathUnits) {
    longPath.resize(longLength);
    return ComparablePath(longPath);
  }
  return ComparablePath(full);
}

std::optional<RemovalTarget> CPvRemovalGuard::OpenTarget(const std::wstring& path, const std::wstring& resolved,
                                                         DWORD access, DWORD share) const {
  // Never following a link: the handle is the link itself where the file
  // system allows, and in any case its final path tells where it leads.
  RemovalTarget target;
  target.handle.Reset(OpenWhenNotHeld(path, access | SYNCHRONIZE, share));
  if (!target.handle) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info = {};
  const std::optional<std::wstring> finalPath = FinalPath(target.handle.Get());
  if (!finalPath || !GetFileInformationByHandle(target.handle.Get(), &info)) return std::nullopt;
  target.source = path;
  target.path = resolved;
  target.finalPath = *finalPath;
  target.attributes = info.dwFileAttributes;
  target.deletable = (access & DELETE) != 0;
  return target;
}

std::optional<RemovalTarget> CPvRemovalGuard::Judge(std::optional<RemovalTarget> target, Removal kind,
                                                    const std::wstring& path) const {
  if (!target) return std::nullopt;  // gone, locked or uncertain: nothing to remove
  if (!m_policy.MayRemoveOpened(kind, target->path, target->finalPath)) {
    LogRefusal(target->finalPath == target->path ? L"not the product's" : L"a link out of the product", path);
    return std::nullopt;
  }
  // A folder link is removed as a link (Windows opens it as itself) but
  // never as a tree, and a folder never as a file.
  const bool treeKind = kind == Removal::kFolderTree || kind == Removal::kOwnedFolder;
  const bool folderKind = treeKind || kind == Removal::kEmptyFolder;
  if (target->IsFolder() != folderKind && !(treeKind && target->IsLink())) {
    LogRefusal(L"not of the recorded kind", path);
    return std::nullopt;
  }
  // The installer made these for the user to fill: a link there is the
  // user's, and a setting in the file is the user's.
  const bool madeForTheUser = kind == Removal::kEmptyFolder || kind == Removal::kSettingsFile;
  if (madeForTheUser && target->IsLink()) {
    LogRefusal(L"a link", path);
    return std::nullopt;
  }
  if (kind == Removal::kSettingsFile && ReadHoldsSetting(target->handle.Get())) {
    LogRefusal(L"holds a setting", path);
    return std::nullopt;
  }
  if (kind == Removal::kShortcut && !m_policy.MayRemoveShortcut(target->path, ShortcutTarget(*target))) {
    LogRefusal(L"a shortcut to what the product does not own", path);
    return std::nullopt;
  }
  return target;
}

std::optional<RemovalTarget> CPvRemovalGuard::Open(const std::wstring& path, Removal kind) const {
  const std::optional<std::wstring> resolved = Resolve(path);
  if (!resolved || !m_policy.MayRemove(kind, *resolved)) {
    LogRefusal(L"not the product's", path);
    return std::nullopt;
  }
  // No one may write to a settings file or shortcut while it is read and
  // removed.
  const bool read = kind == Removal::kSettingsFile || kind == Removal::kShortcut;
  const DWORD share = read ? FILE_SHARE_READ | FILE_SHARE_DELETE : kShareAll;
  return Judge(OpenTarget(path, *resolved, OpenAccess(kind), share), kind, path);
}

std::optional<RemovalTarget> CPvRemovalGuard::Inspect(const std::wstring& path) const {
  const std::optional<std::wstring> resolved = Resolve(path);
  if (!resolved ||
      !(m_policy.MayRemove(Removal::kOwnedFolder, *resolved) || m_policy.MayRemove(Removal::kFolderTree, *resolved))) {
    return std::nullopt;
  }
  std::optional<RemovalTarget> target = OpenTarget(path, *resolved, FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY);
  if (!target || !target->IsFolder() || target->IsLink()) return std::nullopt;
  return target;
}

bool CPvRemovalGuard::Remove(RemovalTarget& target) const {
  std::optional<RemovalTarget> reopened;
  if (!target.deletable) {
    reopened = OpenTarget(target.source, target.path, DELETE | FILE_READ_ATTRIBUTES);
    const bool same = reopened && reopened->finalPath == target.finalPath &&
                      reopened->IsFolder() == target.IsFolder() && reopened->IsLink() == target.IsLink();
    if (!same) return false;
  }
  FILE_DISPOSITION_INFO disposition = {};
  disposition.DeleteFile = TRUE;
  const HANDLE handle = reopened ? reopened->handle.Get() : target.handle.Get();
  return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}
