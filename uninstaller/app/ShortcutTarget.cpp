#include "ShortcutTarget.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string_view>

#include "Handles.h"

namespace {

// COM for this thread while it lives; a thread that has it already keeps
// its own apartment.
class ComScope {
 public:
  ComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(m_result)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT m_result;
};

std::wstring ExpandVariables(const std::wstring& text) {
  const DWORD units = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (units == 0) return std::wstring();
  std::wstring expanded(units, L'\0');
  if (ExpandEnvironmentStringsW(text.c_str(), &expanded[0], units) != units) return std::wstring();
  expanded.resize(units - 1);
  return expanded;
}

bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
  if (text.size() < lowerPrefix.size()) return false;
  for (size_t i = 0; i < lowerPrefix.size(); ++i) {
    const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (c != lowerPrefix[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<std::wstring> ShellLinkTarget(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty() || bytes.size() > UINT_MAX) return std::nullopt;
  const ComScope com;
  UniqueCom<IStream> stream(SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
  UniqueCom<IShellLinkW> link;
  if (!stream || FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                         reinterpret_cast<void**>(link.Put())))) {
    return std::nullopt;
  }
  UniqueCom<IPersistStream> persist;
  if (FAILED(link.Get()->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(persist.Put()))) ||
      FAILED(persist.Get()->Load(stream.Get()))) {
    return std::nullopt;
  }
  // The path as written, variables unexpanded: SLGP_RAWPATH neither looks
  // for the target nor asks the link tracking service where it went.
  wchar_t target[MAX_PATH + 1] = {};
  if (link.Get()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK || target[0] == L'\0') return std::nullopt;
  std::wstring expanded = ExpandVariables(target);
  if (expanded.empty()) return std::nullopt;
  return expanded;
}

std::optional<std::wstring> InternetShortcutTarget(const std::vector<std::uint8_t>& bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!StartsWithNoCase(line, "url=")) continue;
    const std::string_view url = line.substr(4);
    if (!StartsWithNoCase(url, "file:")) return std::nullopt;
    // A file URL is ASCII: anything else in it is escaped.
    const std::wstring wideUrl(url.begin(), url.end());
    wchar_t path[MAX_PATH + 1] = {};
    DWORD units = MAX_PATH;
    if (FAILED(PathCreateFromUrlW(wideUrl.c_str(), path, &units, 0)) || path[0] == L'\0') return std::nullopt;
    return std::wstring(path);
  }
  return std::nullopt;
}
