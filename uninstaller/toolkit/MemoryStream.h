// Streams over private copies of bytes, as GDI+ decodes pictures from.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstddef>

#include "Handles.h"

// A stream over a movable global block holding a copy of `size` bytes; the
// stream frees the block when released. Empty on failure.
UniqueCom<IStream> CreateStreamOverCopy(const void* data, size_t size);
