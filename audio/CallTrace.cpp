#include "CallTrace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

#include "Handles.h"

void TraceCall(const char* format, ...) {
  char path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("QUOBLY_BASS_TRACE", path, sizeof path);
  if (length == 0 || length >= sizeof path) return;

  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  char line[1024];
  int used = std::snprintf(line, sizeof line, "%.3f ", double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart));
  va_list arguments;
  va_start(arguments, format);
  used += std::vsnprintf(line + used, sizeof line - used, format, arguments);
  va_end(arguments);
  if (used > int(sizeof line) - 3) used = int(sizeof line) - 3;
  line[used++] = '\r';
  line[used++] = '\n';

  // Opened for each line so a test may read, empty or delete the file between calls.
  UniqueFileHandle file(CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file) WriteFile(file.Get(), line, DWORD(used), &written, nullptr);
}
