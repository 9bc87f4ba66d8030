#include "ExImageLoader.h"

#include <cstring>
#include <functional>
#include <memory>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// The time dimension of animated images: their frames follow one another.
const GUID kFrameDimensionTime = {0x6AEDBD6D, 0x3FB5, 0x418A, {0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72}};

// Decodes the bytes through a stream on movable global memory and hands the
// image to `use` while the stream lives.
void WithDecodedImage(const void* bytes, size_t size, const std::function<void(GpImage*)>& use) {
  if (bytes == nullptr || size == 0) return;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return;
  }
  std::memcpy(target, bytes, size);
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {  // the stream frees the memory
    GlobalFree(memory);
    return;
  }
  GpImage* image = nullptr;
  if (GdipLoadImageFromStream(stream, &image) == Ok) {
    use(image);
    GdipDisposeImage(image);
  }
  stream->Release();
}

UniqueGpBitmap CopyToPremultiplied(GpImage* image) {
  UniqueGpBitmap result;
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
  return result;
}

std::vector<unsigned> FrameDelays(GpImage* image) {
  std::vector<unsigned> delays;
  UINT size = 0;
  if (GdipGetPropertyItemSize(image, PropertyTagFrameDelay, &size) != Ok || size < sizeof(PropertyItem)) return delays;
  std::unique_ptr<unsigned char[]> buffer(new unsigned char[size]);
  auto* item = reinterpret_cast<PropertyItem*>(buffer.get());
  if (GdipGetPropertyItem(image, PropertyTagFrameDelay, size, item) != Ok || item->value == nullptr) return delays;
  const auto* values = static_cast<const unsigned char*>(item->value);
  for (ULONG offset = 0; offset + 4 <= item->length; offset += 4) {
    unsigned delay = 0;
    std::memcpy(&delay, values + offset, 4);  // the item's values need not be aligned
    delays.push_back(delay);
  }
  return delays;
}

}  // namespace

UniqueGpBitmap ExDecodeImage(const void* bytes, size_t size) {
  UniqueGpBitmap result;
  WithDecodedImage(bytes, size, [&result](GpImage* image) { result = CopyToPremultiplied(image); });
  return result;
}

ExImageFrames ExDecodeImageFrames(const void* bytes, size_t size) {
  ExImageFrames result;
  WithDecodedImage(bytes, size, [&result](GpImage* image) {
    GUID time = kFrameDimensionTime;
    UINT count = 0;
    if (GdipImageGetFrameCount(image, &time, &count) != Ok || count < 1) count = 1;  // a still image
    for (UINT frame = 0; frame < count; ++frame) {
      if (count > 1 && GdipImageSelectActiveFrame(image, &time, frame) != Ok) break;
      UniqueGpBitmap copy = CopyToPremultiplied(image);
      if (!copy) break;
      result.frames.push_back(std::move(copy));
    }
    if (count > 1) result.delays = FrameDelays(image);
  });
  return result;
}

UniqueGpBitmap ExBitmapFromIcon(HICON icon) {
  UniqueGpBitmap result;
  UniqueGpBitmap converted;
  if (icon == nullptr || GdipCreateBitmapFromHICON(icon, converted.Put()) != Ok) return result;
  return CopyToPremultiplied(converted.Get());
}

ExResourceBytes ExFindResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type) {
  HRSRC found = FindResourceW(module, name, type);
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;  // not freed: part of the module
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return {data, SizeofResource(module, found)};
}
