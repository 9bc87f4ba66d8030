#include "HttpText.h"

#include <algorithm>
#include <cwctype>

namespace {

constexpr std::size_t kSchemeLength = 7;  // "http://"

bool EqualsIgnoringCase(std::wstring_view text, std::wstring_view lowerCase) {
  return text.size() == lowerCase.size() &&
         std::equal(text.begin(), text.end(), lowerCase.begin(), [](wchar_t a, wchar_t b) {
           return std::towlower(static_cast<std::wint_t>(a)) == static_cast<std::wint_t>(b);
         });
}

}  // namespace

tagUrlParts SplitHttpUrl(std::wstring_view url) {
  if (url.size() <= kSchemeLength) return {std::wstring(), L"/"};
  // The host has at least one character, so the search starts one past it.
  const std::size_t slash = url.find(L'/', kSchemeLength + 1);
  if (slash == std::wstring_view::npos) return {std::wstring(url.substr(kSchemeLength)), L"/"};
  return {std::wstring(url.substr(kSchemeLength, slash - kSchemeLength)), std::wstring(url.substr(slash))};
}

std::wstring FormatRequestHeaders(std::wstring_view host) {
  std::wstring block =
      L"Accept:text/html,application/xml;q=0.9,application/json,*/*;q=0.8\r\n"
      L"Accept-Encoding:gzip,deflate\r\n"
      L"Accept-Language:zh-CN,zh;q=0.5\r\n"
      L"Accept-Charset:gb2312,utf-8;q=0.7,*;q=0.7\r\n"
      L"Host:";
  block.append(host);
  block.append(L"\r\nUser-Agent:Mozilla/5.0 (Windows NT 6.1)\r\n");
  return block;
}

bool IsCompressedEncoding(std::wstring_view contentEncoding) {
  return EqualsIgnoringCase(contentEncoding, L"gzip") || EqualsIgnoringCase(contentEncoding, L"deflate");
}
