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
  kFolderTree,    // a folder and everything below it
  kFile,          // one file
  kShortcut,      // a listed link or the desktop shortcut: a shortcut file anywhere
  kEmptyFolder,   // a folder the installer made, only once empty: never its contents
  kSettingsFile,  // the installer's settings file, only while it holds no setting
};

// What the product owns, and so what may be removed: the folders given as
// owned (minus any that is protected), everything below them, and shortcut
// files by their own path. All paths comparable.
class RemovalPolicy {
 public:
  RemovalPolicy(const std::vector<std::wstring>& ownedFolders, std::vector<std::wstring> protectedFolders);

  // Whether an object at `path` may be removed as `kind`, judged by its path.
  bool MayRemove(Removal kind, const std::wstring& path) const;

  // The same for an opened object whose final path is `finalPath`: one that
  // resolves elsewhere (a link) is removed only as a file or shortcut, and
  // only when where it leads is owned too. A folder reached that way never
  // is, nor what the installer made for the user to fill: a link there is
  // the user's.
  bool MayRemoveOpened(Removal kind, const std::wstring& path, const std::wstring& finalPath) const;

  bool Owns(const std::wstring& path) const;
  const std::vector<std::wstring>& OwnedFolders() const { return m_owned; }

 private:
  std::vector<std::wstring> m_owned;
  std::vector<std::wstring> m_protected;
};

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
