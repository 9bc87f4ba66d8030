// Where the pieces of a stretched picture frame go: plain, three-slice or
// nine-slice, so that borders keep their size while the middle stretches.
// Pure geometry, free of any platform header.
#pragma once

#include <vector>

struct PvRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PvRect& other) const {
    return x == other.x && y == other.y && width == other.width && height == other.height;
  }
};

// One piece: this part of the picture goes to that part of the target.
struct PvSlice {
  PvRect source;
  PvRect target;
};

// The frame `index` of a horizontal strip of `frames` frames (below 1 counts
// as 1; an index past the end is the last frame).
PvRect FrameRect(int imageWidth, int imageHeight, int frames, int index);

// The pieces that draw `source` into `target`. A target width or height of 0
// means the source's own. `horizontalEdge` columns at the left and right and
// `verticalEdge` rows at the top and bottom keep their size (an edge below 1
// is no edge). Pieces that would land on no pixel are left out.
std::vector<PvSlice> StretchSlices(const PvRect& source, PvRect target, int horizontalEdge, int verticalEdge);
