// The leak and soak tests' check of GDI and USER objects, which says so
// plainly where the system does not count them instead of passing on zeros.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>

#include "ProcessResources.h"

// Expects neither count to have grown by more than `slack` from `before` to
// `after`; where they are not counted, records that for the run's report and
// leaves the check to the memory, thread and window counts beside it.
inline void ExpectGuiObjectsWithin(const ProcessResources& before, const ProcessResources& after, DWORD slack) {
  if (!GuiObjectsCounted(before)) {
    std::printf("GDI and USER objects: not counted by this system (GetGuiResources answers 0)\n");
    testing::Test::RecordProperty("gui_objects", "not counted");
    return;
  }
  EXPECT_LE(after.gdiObjects, before.gdiObjects + slack);
  EXPECT_LE(after.userObjects, before.userObjects + slack);
}
