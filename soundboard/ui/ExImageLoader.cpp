#include "ExImageLoader.h"

#include <cstring>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

UniqueGpBitmap ExDecodeImage(const void* bytes, size_t size) {
  UniqueGpBitmap result;
  if (bytes == nullptr || size == 0) return result;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return result;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return result;
  }
  std::memcpy(target, bytes, size);
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {  // the stream frees the memory
    GlobalFree(memory);
    return result;
  }
  GpImage* image = nullptr;
  if (GdipLoadImageFromStream(stream, &image) == Ok) {
    UINT width = 0;
    UINT height = 0;
    GdipGetImageWidth(image, &width);
    GdipGetImageHeight(image, &height);
    UniqueGpGraphics graphics;
    if (width > 0 && height > 0 &&
        GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr, result.Put()) == Ok &&
        GdipGetImageGraphicsContext(result.Get(), graphics.Put()) == Ok) {
      GdipDrawImageRectI(graphics.Get(), image, 0, 0, width, height);
    } else {
      result.Reset();
    }
    GdipDisposeImage(image);
  }
  stream->Release();
  return result;
}
