#include "RemovalRules.h"

#include <algorithm>
#include <cwctype>

namespace {

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

// Upper case, backslashes only, no trailing separator: "c:/Dir\" -> "C:\DIR".
std::wstring Canonical(std::wstring_view path) {
  std::wstring canonical;
  canonical.reserve(path.size());
  for (wchar_t c : path) canonical += IsSeparator(c) ? L'\\' : static_cast<wchar_t>(std::towupper(c));
  while (!canonical.empty() && canonical.back() == L'\\') canonical.pop_back();
  return canonical;
}

bool HasDotSegment(std::wstring_view path) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::wstring_view segment = path.substr(start, end - start);
    if (segment == L"." || segment == L"..") return true;
    start = end + 1;
  }
  return false;
}

bool IsAbsolute(std::wstring_view path) {
  const bool drivePath = path.size() >= 3 && path[1] == L':' && IsSeparator(path[2]);
  const bool uncPath = path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
  return drivePath || uncPath;
}

// "C:" or "\\SERVER\SHARE" (canonical form).
bool IsRoot(const std::wstring& canonical) {
  if (canonical.size() == 2 && canonical[1] == L':') return true;
  if (canonical.rfind(L"\\\\", 0) != 0) return false;
  const size_t shareSeparator = canonical.find(L'\\', 2);
  return shareSeparator == std::wstring::npos || canonical.find(L'\\', shareSeparator + 1) == std::wstring::npos;
}

// `inner` is `outer` or lies below it (both canonical).
bool IsWithin(const std::wstring& inner, const std::wstring& outer) {
  if (outer.empty() || inner.compare(0, outer.size(), outer) != 0) return false;
  return inner.size() == outer.size() || inner[outer.size()] == L'\\';
}

void AppendQuotedCommand(std::wstring& batch, const wchar_t* command, std::wstring_view path) {
  if (path.empty()) return;
  batch += command;
  batch += L" \"";
  for (wchar_t c : path) batch += c == L'%' ? std::wstring(L"%%") : std::wstring(1, c);
  batch += L"\"\r\n";
}

}  // namespace

std::wstring WithTrailingBackslash(std::wstring_view folder) {
  std::wstring result(folder);
  while (!result.empty() && IsSeparator(result.back())) result.pop_back();
  return result + L'\\';
}

bool IsProtectedFolder(std::wstring_view folder, const std::vector<std::wstring>& protectedFolders) {
  if (!IsAbsolute(folder) || HasDotSegment(folder)) return true;
  const std::wstring canonical = Canonical(folder);
  if (IsRoot(canonical)) return true;
  return std::any_of(protectedFolders.begin(), protectedFolders.end(),
                     [&](const std::wstring& system) { return IsWithin(Canonical(system), canonical); });
}

bool IsBatchSafePath(std::wstring_view path) {
  return std::none_of(path.begin(), path.end(), [](wchar_t c) { return c == L'"' || c < 0x20 || c == 0x7F; });
}

std::wstring FormatSelfDeleteBatch(std::wstring_view programPath, std::wstring_view installDir) {
  std::wstring batch = L"@ echo off\r\ntaskkill /im pvUninstall.exe /f\r\n";
  AppendQuotedCommand(batch, L"del", programPath);
  AppendQuotedCommand(batch, L"rd /S /Q", installDir);
  batch += L"del %0";
  return batch;
}
