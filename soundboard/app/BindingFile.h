// The binding file "音效配置.ini" beside the program: section "热键", key =
// hotkey name, value = full path of a sound file. Read and written through
// the system's private-profile functions, in the ANSI code page.
#pragma once

#include <string>

// The whole file as text; "" when it is missing or unreadable.
std::string ReadBindingText(const std::string& bindingFile);
// The sound bound to `keyName`, "" when none (at most 10,240 bytes are read).
std::string ReadBinding(const std::string& bindingFile, const std::string& keyName);
// Binds `keyName` to `soundPath`, replacing the key's earlier binding; the
// file is made when missing. false when it cannot be written or a name is
// empty.
bool WriteBinding(const std::string& bindingFile, const std::string& keyName, const std::string& soundPath);
// Deletes the file, so that no key plays anything from now on. true when it
// is gone, also when it never existed.
bool DeleteBindingFile(const std::string& bindingFile);
