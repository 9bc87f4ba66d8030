// What the uninstaller does when it crashes, given to the crash handler: the
// crash ping to the crash endpoint and the notice that closes by itself.
#pragma once

#include "PvDump.h"

tagCrashActions UninstallerCrashActions();
