#include "SelfDeleteBatch.h"

#include <bcrypt.h>
#include <sddl.h>

#include <vector>

namespace {

constexpr int kBatchNameTries = 8;
// Administrators, the system and the file's owner: the elevated program
// that writes the batch and the interpreter it starts, nobody else.
constexpr wchar_t kBatchAccess[] = L"D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FA;;;OW)";

}  // namespace

std::optional<std::string> ToOemCodePage(const std::wstring& text) {
  const UINT codePage = GetOEMCP();
  const bool utf8 = codePage == CP_UTF8;  // takes no best-fit flag and has no default character
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL lossy = FALSE;
  const int size = static_cast<int>(text.size());
  const int bytes =
      WideCharToMultiByte(codePage, flags, text.c_str(), size, nullptr, 0, nullptr, utf8 ? nullptr : &lossy);
  if ((bytes == 0 && size != 0) || lossy) return std::nullopt;
  std::string converted(static_cast<size_t>(bytes), '\0');
  if (bytes > 0) WideCharToMultiByte(codePage, flags, text.c_str(), size, &converted[0], bytes, nullptr, nullptr);
  return converted;
}

std::wstring RandomBatchName() {
  UCHAR random[8] = {};
  if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, random, sizeof random, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    return std::wstring();
  }
  constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring name = L"pvUninstall-";
  for (UCHAR byte : random) {
    name += kDigits[byte >> 4];
    name += kDigits[byte & 15];
  }
  return name + L".bat";
}

UniqueFileHandle CreateBatchFile(const std::wstring& folder, std::wstring (*nextName)(), std::wstring& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kBatchAccess, SDDL_REVISION_1, &descriptor, nullptr)) {
    return UniqueFileHandle();
  }
  const UniqueLocal ownedDescriptor(descriptor);
  SECURITY_ATTRIBUTES security = {sizeof security, descriptor, FALSE};
  for (int attempt = 0; attempt < kBatchNameTries; ++attempt) {
    const std::wstring name = nextName();
    if (name.empty()) break;
    const std::wstring candidate = folder + name;
    UniqueFileHandle file(CreateFileW(candidate.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      path = candidate;
      return file;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return UniqueFileHandle();
}

std::wstring WriteBatchFile(const std::wstring& folder, const std::string& bytes, std::wstring (*nextName)()) {
  std::wstring path;
  UniqueFileHandle file = CreateBatchFile(folder, nextName, path);
  if (!file) return std::wstring();
  DWORD written = 0;
  const bool whole = WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                     written == bytes.size();
  file.Reset();
  if (whole) return path;
  DeleteFileW(path.c_str());
  return std::wstring();
}

bool StartBatch(const std::wstring& systemFolder, const std::wstring& batch) {
  if (systemFolder.empty()) return false;
  const std::wstring interpreter = systemFolder + L"\\cmd.exe";
  // /c strips the outer quotes and keeps the inner ones around the path.
  std::wstring commandLine = L"\"" + interpreter + L"\" /d /v:off /c \"\"" + batch + L"\"\"";
  const std::wstring folder = batch.substr(0, batch.rfind(L'\\') + 1);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(interpreter.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      folder.c_str(), &startup, &process)) {
    return false;
  }
  const UniqueKernelHandle thread(process.hThread);
  const UniqueKernelHandle child(process.hProcess);
  return true;
}
