// The binding file "音效配置.ini" beside the program: section "热键", key =
// hotkey name, value = full path of a sound file; section "声卡" holds the
// sound card chosen, by name. Read and written through the system's
// private-profile functions, in the ANSI code page.
//
// Installed under "Program Files", a standard user may not make, delete or
// rename files in the program folder, and the manifest's asInvoker turns off
// the virtualisation that would send the writes elsewhere. The installer
// therefore makes the file, empty, and grants BUILTIN\Users read and write on
// that one file (no delete, nothing on the folder); every change here works
// on the existing file in place and never makes another file beside it.
#pragma once

#include <string>

// The sound bound to `keyName`, "" when none (at most 10,240 bytes are read).
std::string ReadBinding(const std::string& bindingFile, const std::string& keyName);
// Binds `keyName` to `soundPath`, replacing the key's earlier binding. The
// profile functions rewrite an existing file in place; a missing one is made,
// where the folder allows it. false when it cannot be written or a name is
// empty.
bool WriteBinding(const std::string& bindingFile, const std::string& keyName, const std::string& soundPath);
// Removes the section of bindings, in place, so that no key plays anything
// from now on; the file's other sections stay. true when no binding is left,
// also when the file never existed (it is not made then).
bool ClearBindings(const std::string& bindingFile);

// The name of the sound card the user chose; "" for the system's default
// output (nothing stored).
std::string ReadSoundCardName(const std::string& bindingFile);
// Stores the chosen card's name; "" removes it, so the default output plays.
// false when the file cannot be written.
bool WriteSoundCardName(const std::string& bindingFile, const std::string& cardName);
