// Decoding of image bytes (PNG, BMP, GIF, ...) and icons into bitmaps the
// framework draws with, and access to images embedded as resources.
#pragma once

#include <cstddef>
#include <vector>

#include "Handles.h"

// Copies decoded image bytes into a premultiplied bitmap of their own, so
// that neither the stream nor the caller's bytes need to outlive the call.
// Empty when there are no bytes or they do not decode.
UniqueGpBitmap ExDecodeImage(const void* bytes, size_t size);

// Every frame of an animated image (a still image has one), each copied
// into a premultiplied bitmap of its own, with the frame delays in
// hundredths of a second as the image states them (possibly fewer than
// the frames, or none).
struct ExImageFrames {
  std::vector<UniqueGpBitmap> frames;
  std::vector<unsigned> delays;
};
ExImageFrames ExDecodeImageFrames(const void* bytes, size_t size);

// A premultiplied copy of an icon; the icon stays the caller's.
UniqueGpBitmap ExBitmapFromIcon(HICON icon);

// The bytes of a resource of `module`; they live as long as the module.
// {nullptr, 0} when there is no such resource.
struct ExResourceBytes {
  const void* data = nullptr;
  size_t size = 0;
};
ExResourceBytes ExFindResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type);
