// One GetUrlInfo call from wherever this program is copied, so that tests can
// run the HTTP client beside a chosen set of files (for example none).
// Usage: net_probe URL BUFFER_SIZE OUTPUT_FILE. The reply, up to its first
// zero byte, goes to OUTPUT_FILE; the exit code is the result.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "Handles.h"
#include "PvNet.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  const int size = _wtoi(argv[2]);
  if (size < 1) return 2;
  std::vector<char> reply(static_cast<size_t>(size));
  const int result = GetUrlInfo(argv[1], reply.data(), size);

  UniqueFileHandle output(
      CreateFileW(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!output) return 3;
  DWORD written = 0;
  WriteFile(output.Get(), reply.data(), static_cast<DWORD>(std::strlen(reply.data())), &written, nullptr);
  return result;
}
