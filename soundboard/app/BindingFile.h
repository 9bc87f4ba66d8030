// The binding file "音效配置.ini" beside the program: section "热键", key =
// hotkey name, value = full path of a sound file. Read and written through
// the system's private-profile functions, in the ANSI code page.
#pragma once

#include <string>

// The whole file as text; "" when it is missing or unreadable.
std::string ReadBindingText(const std::string& bindingFile);
// The sound bound to `keyName`, "" when none (at most 10,240 bytes are read).
std::string ReadBinding(const std::string& bindingFile, const std::string& keyName);
