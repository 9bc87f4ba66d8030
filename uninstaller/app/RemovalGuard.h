// The one place that decides whether the uninstaller may remove a path, from
// what Windows resolves it to at the moment of the removal, and the one place
// that removes it: through the very handle the decision was made on, so that
// nothing swapped in between (a link for a folder) is followed.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "Handles.h"
#include "RemovalRules.h"

// A file-system object opened without following it, for a removal decision.
struct RemovalTarget {
  UniqueFileHandle handle;
  std::wstring source;     // the path it was opened by
  std::wstring path;       // its own path, comparable
  std::wstring finalPath;  // where the opened object really is, comparable
  DWORD attributes = 0;    // as the handle sees them
  bool deletable = false;  // opened with delete access

  bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  // A link opened as itself (Windows), or an object reached through one
  // (Wine follows links even when told not to): never entered.
  bool IsLink() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || finalPath != path; }
};

class CPvRemovalGuard {
 public:
  // Owns nothing until Own is called; the protected folders (the system's
  // and the user's own) are looked up here.
  CPvRemovalGuard();

  // What the product owns: folders as recorded or as found on disk. A folder
  // that resolves to no certain place, or is or holds a protected folder, is
  // left out. In `shortcutPlaces` (the start-menu folder, the desktops) its
  // shortcuts may be removed, those that lead into what it owns or into
  // `productFolder`.
  void Own(const std::vector<std::wstring>& folders, const std::vector<std::wstring>& shortcutPlaces = {},
           const std::wstring& productFolder = {});

  // The path as Windows resolves it (full, long names), comparable; nothing
  // for a relative path, one that names no certain place, or one that is not
  // on a local drive (refused by its text, before any call could reach a
  // server).
  std::optional<std::wstring> Resolve(const std::wstring& path) const;

  // Opens `path` for removal as `kind` when the product may remove it there,
  // judged first by its resolved path and then by the opened object; nothing
  // otherwise (and the refusal goes to the debug log). A folder tree is
  // opened only to be walked: a process may have it as its current folder,
  // which shuts out delete access until the walk has emptied it. An empty
  // folder and a settings file are opened for deletion at once, so that
  // what was judged is what goes; a settings file is then read through that
  // handle, which no writer may share, and kept while it holds a setting.
  // Neither is ever taken through a link: a link there is the user's. A
  // shortcut is read the same way, and kept unless it leads into what the
  // product owns.
  std::optional<RemovalTarget> Open(const std::wstring& path, Removal kind) const;

  // Opens a folder only to look into it (counting), on the same terms.
  std::optional<RemovalTarget> Inspect(const std::wstring& path) const;

  // Removes what Open gave: the object itself, a link as a link. A walked
  // folder is opened again with delete access and judged again, so that only
  // the very object walked goes. The removal takes effect when the handles
  // close; a folder goes only once empty, never with its contents.
  bool Remove(RemovalTarget& target) const;

  bool Owns(const std::wstring& comparablePath) const { return m_policy.Owns(comparablePath); }

 private:
  // Opens `path`, whose resolved form is `resolved`, as itself; others may
  // go on using it as `share` allows.
  std::optional<RemovalTarget> OpenTarget(const std::wstring& path, const std::wstring& resolved, DWORD access,
                                          DWORD share = kShareAll) const;
  std::optional<RemovalTarget> Judge(std::optional<RemovalTarget> target, Removal kind, const std::wstring& path) const;
  // Where the shortcut open as `shortcut` leads, as written in it and
  // resolved; nothing when it names no certain local place.
  std::optional<std::wstring> ShortcutTarget(const RemovalTarget& shortcut) const;

  static constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

  std::vector<std::wstring> m_protectedFolders;
  RemovalPolicy m_policy{{}, {}};
};
