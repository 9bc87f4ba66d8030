// The picture of a skinned control, and the order in which it is looked up:
// an explicit picture file, else the theme folder, else the skin package,
// else the embedded "IMG" resource.
#pragma once

#include <windows.h>

#include <string>

struct tagPvPicture {
  int imageId = 0;         // embedded picture; a control with states uses imageId + state
  int frames = 1;          // frames in the picture's horizontal strip
  int horizontalEdge = 2;  // columns kept at each side when stretched
  std::wstring resType = L"IMG";
  std::wstring imagePath;  // explicit picture file, used when it exists
  std::wstring stem;       // name in a theme folder or skin package
  std::wstring extension = L".png";
};

// How a control wants the skin package's entry used.
enum class PackagePicture {
  kLoadOnly,  // take it out of the package (cached) but draw the embedded picture
  kDraw,      // draw it when there is one
};

// Draws `picture` in `state` into (x, y, w, h). `stateCount` above 1 clamps
// the state and picks the embedded picture imageId + state. A picture file
// or theme file is drawn without vertical edge, as is every fallback.
void DrawControlPicture(HDC hdc, const tagPvPicture& picture, int imageSource, int stateCount, int* state, int x, int y,
                        int w, int h, int verticalEdge, PackagePicture packageUse);
