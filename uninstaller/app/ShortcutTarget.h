// What a shortcut file leads to, read from its bytes as the file holds them
// (never resolved: resolving would look for the target, and search for it
// elsewhere when it is missing).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The target path written in a shell link (".lnk"), environment variables
// expanded; nothing when the link names no file-system path or cannot be
// read.
std::optional<std::wstring> ShellLinkTarget(const std::vector<std::uint8_t>& bytes);

// The file a ".url" shortcut leads to, when its URL is a "file:" URL;
// nothing for any other URL.
std::optional<std::wstring> InternetShortcutTarget(const std::vector<std::uint8_t>& bytes);
