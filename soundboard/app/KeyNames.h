// Names of hotkeys as the binding file stores them (platform-free; GBK text).
#pragma once

#include <string>
#include <vector>

// The hotkey name of a virtual-key code ("F1键", "A键", "空格键", ...), or
// empty for a code that has none (the left and right modifier codes among
// them).
std::string HotkeyName(unsigned virtualKey);

// Every key a binding can play: each code with a name but space, which stops
// playback. Digits, letters, F1 to F16, then the rest of the table.
std::vector<unsigned> PlayableKeys();
