#include "ReportQuery.h"

#include <cstdint>

namespace {
constexpr std::size_t kMaxUrlLength = 1023;
}

std::wstring FormatReportUrl(std::wstring_view base, std::wstring_view kind, std::wstring_view value,
                             std::wstring_view uid, unsigned long tickCount) {
  const auto sign = static_cast<std::int32_t>(static_cast<std::uint32_t>(tickCount));
  std::wstring url(base);
  url.append(L"?type=").append(kind);
  url.append(L"&value=").append(value);
  url.append(L"&uuid=").append(uid);
  url.append(L"&sign=").append(std::to_wstring(sign));
  if (url.size() > kMaxUrlLength) url.resize(kMaxUrlLength);
  return url;
}
