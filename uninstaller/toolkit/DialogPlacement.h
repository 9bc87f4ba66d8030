// Where a dialog goes on the screen. Pure arithmetic, free of any platform
// header; CPvDlg::Show asks the system for the work area.
#pragma once

#include "ImageSlices.h"

// The rectangle of a `width` x `height` window centred in `workArea` (a
// monitor's work area, in virtual-screen coordinates, which may be negative
// left of or above the primary monitor). A window larger than the area keeps
// its top-left corner inside it, so that its caption can still be reached.
PvRect CentredIn(const PvRect& workArea, int width, int height);
