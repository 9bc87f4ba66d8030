// Decoding of image bytes (PNG, BMP, GIF, ...) into bitmaps the framework
// draws with.
#pragma once

#include <cstddef>

#include "Handles.h"

// Copies decoded image bytes into a premultiplied bitmap of their own, so
// that neither the stream nor the caller's bytes need to outlive the call.
// Empty when there are no bytes or they do not decode.
UniqueGpBitmap ExDecodeImage(const void* bytes, size_t size);
