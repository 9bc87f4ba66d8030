#include "DialogPlacement.h"

#include <algorithm>

PvRect CentredIn(const PvRect& workArea, int width, int height) {
  const int x = workArea.x + std::max(0, (workArea.width - width) / 2);
  const int y = workArea.y + std::max(0, (workArea.height - height) / 2);
  return {x, y, width, height};
}
