// Rules that keep the removal of an installed product from ever reaching
// beyond it (platform-free).
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The folder with exactly one trailing backslash: the folder walk joins
// names to it directly.
std::wstring WithTrailingBackslash(std::wstring_view folder);

// Whether a folder tree must never be removed: an empty or relative path, a
// drive or share root, or any of `protectedFolders` (the system's own
// folders) or a folder that contains one of them. Compared without regard to
// letter case or trailing backslashes.
bool IsProtectedFolder(std::wstring_view folder, const std::vector<std::wstring>& protectedFolders);

// Whether a path may stand inside double quotes in a batch line: a quote or
// a control character would end the quotes or the line.
bool IsBatchSafePath(std::wstring_view path);

// The self-deletion batch: ends every running uninstaller, deletes the
// program file, removes the install folder when one is given, and deletes
// the batch itself. An empty path leaves its line out. Percent signs are
// doubled, since the command interpreter expands them; lines end CR LF.
std::wstring FormatSelfDeleteBatch(std::wstring_view programPath, std::wstring_view installDir);
