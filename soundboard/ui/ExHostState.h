// What the parts of a host share about its window: the handle (nullptr once
// detached, which a part that pumps messages checks afterwards), the size,
// the caption style flags and whether the host is busy (attaching or
// animating: no composition, no input). Owned by ExHost; UI thread only.
#pragma once

#include "ExGeometry.h"
#include "Handles.h"

struct ExHostState {
  HWND window = nullptr;
  ExSize size;
  unsigned styleFlags = 0;
  bool busy = false;
};
