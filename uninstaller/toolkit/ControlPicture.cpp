#include "ControlPicture.h"

#include "PvBase.h"
#include "PvImage.h"
#include "PvSkin.h"

namespace {

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

void DrawControlPicture(HDC hdc, const tagPvPicture& picture, int imageSource, int stateCount, int* state, int x, int y,
                        int w, int h, int verticalEdge, PackagePicture packageUse) {
  if (stateCount > 1 && *state >= stateCount) *state = stateCount - 1;
  CPvImage& image = CPvImage::Instance();
  CPvSkin& skin = CPvSkin::Instance();
  const auto drawFrom = [&](const PvImageSource& source, int edge) {
    image.DrawStretchImg(hdc, source, x, y, w, h, picture.horizontalEdge, picture.frames, *state, edge);
  };

  int fallbackEdge = 0;
  if (imageSource == CPvBase::kImageFromFile) {
    if (FileExists(picture.imagePath)) return drawFrom(picture.imagePath.c_str(), 0);
  } else if (skin.GetResType() == CPvSkin::kTheme) {
    wchar_t themes[MAX_PATH] = {};
    skin.GetThemesPath(themes);
    const std::wstring file = themes + picture.stem + L"_" + std::to_wstring(*state) + picture.extension;
    if (FileExists(file)) return drawFrom(file.c_str(), 0);
  } else if (skin.GetResType() == CPvSkin::kPackage) {
    IStream* stream = nullptr;
    const bool found = skin.GetRes(picture.stem.c_str(), &stream);
    if (found && packageUse == PackagePicture::kDraw) return drawFrom(stream, 0);
  } else {
    fallbackEdge = verticalEdge;
  }
  const int id = stateCount < 2 ? picture.imageId : picture.imageId + *state;
  drawFrom(PvImageSource(id, picture.resType.c_str()), fallbackEdge);
}
