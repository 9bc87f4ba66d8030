// Rules that keep the removal of an installed product from ever reaching
// beyond it (platform-free). They judge paths in the form Windows resolved
// them to (full, long names, or the final path of an opened object), never
// the text a record holds.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The folder with exactly one trailing backslash: the folder walk joins
// names to it directly.
std::wstring WithTrailingBackslash(std::wstring_view folder);

// A resolved path in the one form the rules compare: "C:\DIR\NAME" or
// "\\SERVER\SHARE\NAME", upper case, backslashes, no trailing separator, the
// "\\?\" and "\\?\UNC\" prefixes dropped. Empty for a path that does not
// name one place for certain: relative paths, device and volume paths,
// administrative shares (they alias a drive), empty, "." or ".." segments
// and segments ending in a dot or space (Windows would have dropped those),
// and 8.3 short names (a "~" followed by a digit) that were not expanded.
std::optional<std::wstring> ComparablePath(std::wstring_view resolved);

// A path that names a folder or file on a local drive by its text alone:
// "X:\..." or "\\?\X:\...". Network paths ("\\server\share", "\\?\UNC\")
// and device paths are not: they are refused before any call could reach a
// server.
bool IsDrivePath(std::wstring_view path);

// `inner` is `outer` or lies below it (both comparable).
bool IsWithinFolder(const std::wstring& inner, const std::wstring& outer);

// Whether a folder tree must never be removed: a path with no comparable
// form, a drive or share root, or any of `protectedFolders` (the system's and
// the user's own folders) or a folder that contains one of them.
bool IsProtectedFolder(std::wstring_view folder, const std::vector<std::wstring>& protectedFolders);

// A name that stays one entry of the folder it is joined to: not empty, no
// separator, wildcard, quote or control character, not "." or "..", no
// trailing dot or space, not a device name such as "CON" or "LPT1".
bool IsPlainFileName(std::wstring_view name);

// A shell shortcut file by its name: ".lnk" or ".url".
bool IsShortcutFile(std::wstring_view path);

// What a record entry asks to remove; each kind has its own rule.
enum class Removal {
  kOwnedFolder,   // an owned folder itself with everything in it (the whole-folder mode)
  kFolderTree,    // a folder strictly below an owned one, with everything in it
  kFile,          // one file
  kShortcut,      // a shortcut: in a place for shortcuts, leading into what is owned
  kEmptyFolder,   // a folder the installer made, only once empty: never its contents
  kSettingsFile,  // the installer's settings file, only while it holds no setting
};

// What the product owns, and so what may be removed: the folders given as
// owned (minus any that is protected) and everything below them; and in the
// places for shortcuts (its start-menu folder, the desktops) the shortcut
// files that lead into what it owns or into `productFolder`, the folder the
// uninstaller runs from. All paths comparable.
class RemovalPolicy {
 public:
  RemovalPolicy(const std::vector<std::wstring>& ownedFolders, std::vector<std::wstring> protectedFolders,
                const std::vector<std::wstring>& shortcutPlaces = {}, const std::wstring& productFolder = {});

  // Whether an object at `path` may be removed as `kind`, judged by its path.
  // A shortcut outside the owned folders needs its target judged as well:
  // see MayRemoveShortcut.
  bool MayRemove(Removal kind, const std::wstring& path) const;

  // Whether a shortcut at `path`, whose target as written in it resolves to
  // `target` (nothing: none, or none for certain), may be removed: one of
  // the product's files, or a shortcut file in a place for shortcuts that
  // leads into the product.
  bool MayRemoveShortcut(const std::wstring& path, const std::optional<std::wstring>& target) const;

  // The same for an opened object whose final path is `finalPath`: one that
  // resolves elsewhere (a link) is removed only as a file or shortcut, and
  // only when where it leads is owned too. A folder reached that way never
  // is, nor what the installer made for the user to fill: a link there is
  // the user's.
  bool MayRemoveOpened(Removal kind, const std::wstring& path, const std::wstring& finalPath) const;

  bool Owns(const std::wstring& path) const;
  const std::vector<std::wstring>& OwnedFolders() const { return m_owned; }

 private:
  bool IsOwnedFolder(const std::wstring& path) const;
  bool IsShortcutPlace(const std::wstring& folder) const;

  std::vector<std::wstring> m_owned;
  std::vector<std::wstring> m_protected;
  std::vector<std::wstring> m_shortcutPlaces;
  std::wstring m_productFolder;  // empty when protected or uncertain
};

// The program a command line starts, as an uninstall entry's
// "UninstallString" holds it: the quoted text when it begins with a quote,
// else the text up to and with the first ".exe". Empty when it names none.
std::wstring UninstallProgram(std::wstring_view command);

// Whether a path may stand inside double quotes in a batch line: a quote or
// a control character would end the quotes or the line.
bool IsBatchSafePath(std::wstring_view path);

// The self-deletion batch. It first waits for this program's own process,
// `processId` running the file `programPath` names, to end: while the
// system's tasklist (in `systemFolder`) lists that process, or the program
// file cannot be deleted yet, it asks again, kBatchWaitRounds times at most
// (each round is a run of tasklist). It ends no process. Then it deletes
// each of `leftovers` by name, removes `folder` if it is empty by then
// (never with its contents: the engine alone decides what goes), and
// deletes the batch itself. An empty path leaves its lines out (an empty
// `systemFolder`, the wait). Percent signs are doubled, since the command
// interpreter expands them; lines end CR LF.
constexpr int kBatchWaitRounds = 60;
std::wstring FormatSelfDeleteBatch(std::wstring_view systemFolder, unsigned long processId,
                                   std::wstring_view programPath, const std::vector<std::wstring>& leftovers,
                                   std::wstring_view folder);
