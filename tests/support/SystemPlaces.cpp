#include "SystemPlaces.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "Handles.h"

std::wstring ShellFolder(BOOL (*lookUp)(wchar_t*)) {
  wchar_t path[MAX_PATH] = {};
  lookUp(path);
  return path;
}

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

bool MakeShortcut(const std::wstring& path, const std::wstring& target) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool saved = false;
  {
    UniqueCom<IShellLinkW> link;
    UniqueCom<IPersistFile> file;
    saved = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                       reinterpret_cast<void**>(link.Put()))) &&
            SUCCEEDED(link.Get()->SetPath(target.c_str())) &&
            SUCCEEDED(link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put()))) &&
            SUCCEEDED(file.Get()->Save(path.c_str(), TRUE));
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return saved;
}

bool MakeInternetShortcut(const std::wstring& path, const std::string& url) {
  const std::string text = "[InternetShortcut]\r\nURL=" + url + "\r\n";
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

bool TrayIconPresent(HWND window, UINT id) {
  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = id;
  icon.uFlags = NIF_TIP;
  lstrcpyW(icon.szTip, L"Quobly");
  return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE;
}
