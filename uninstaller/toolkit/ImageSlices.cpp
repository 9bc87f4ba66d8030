#include "ImageSlices.h"

#include <algorithm>

namespace {

// Columns: left edge, middle, right edge (or one span without an edge).
struct Span {
  int sourceStart;
  int sourceLength;
  int targetStart;
  int targetLength;
};

std::vector<Span> SplitSpan(int sourceStart, int sourceLength, int targetStart, int targetLength, int edge) {
  if (edge < 1) return {{sourceStart, sourceLength, targetStart, targetLength}};
  return {
      {sourceStart, edge, targetStart, edge},
      {sourceStart + edge, sourceLength - 2 * edge, targetStart + edge, targetLength - 2 * edge},
      {sourceStart + sourceLength - edge, edge, targetStart + targetLength - edge, edge},
  };
}

}  // namespace

PvRect FrameRect(int imageWidth, int imageHeight, int frames, int index) {
  frames = std::max(frames, 1);
  index = std::clamp(index, 0, frames - 1);
  const int frameWidth = imageWidth / frames;
  return {frameWidth * index, 0, frameWidth, imageHeight};
}

std::vector<PvSlice> StretchSlices(const PvRect& source, PvRect target, int horizontalEdge, int verticalEdge) {
  if (target.width == 0) target.width = source.width;
  if (target.height == 0) target.height = source.height;
  std::vector<PvSlice> slices;
  for (const Span& row : SplitSpan(source.y, source.height, target.y, target.height, verticalEdge)) {
    for (const Span& column : SplitSpan(source.x, source.width, target.x, target.width, horizontalEdge)) {
      if (row.targetLength <= 0 || column.targetLength <= 0 || row.sourceLength <= 0 || column.sourceLength <= 0) {
        continue;
      }
      slices.push_back({{column.sourceStart, row.sourceStart, column.sourceLength, row.sourceLength},
                        {column.targetStart, row.targetStart, column.targetLength, row.targetLength}});
    }
  }
  return slices;
}
