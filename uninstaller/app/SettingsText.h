// Whether the installer's settings file (the soundboard's binding file, a
// private-profile file in the ANSI code page, GBK) still holds a setting,
// judged on its bytes alone (platform-free): an uninstall removes the file
// only while it holds none.
#pragma once

#include <cstddef>
#include <cstdint>

// More than this is never read: such a file holds far more than an empty
// one ever does, and is kept.
constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

// False only when every line (ended by LF) is blank (spaces, tabs, CR), a
// comment (first byte but blanks ';') or a section header ('[' to a last ']'
// that is no GBK trail byte, blanks around): what the profile functions read
// as no key. Anything else, whatever its bytes (a line without '=', a NUL, a
// byte-order mark), counts as a setting, and so does a file larger than
// kMaxSettingsBytes: in doubt the file stays.
bool HoldsSetting(const std::uint8_t* data, std::size_t size);
