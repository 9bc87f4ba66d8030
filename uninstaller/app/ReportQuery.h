// The request URL of a report (platform-free).
#pragma once

#include <string>
#include <string_view>

// "<base>?type=<kind>&value=<value>&uuid=<uid>&sign=<sign>", cut to 1023
// characters. `value` comes already percent-encoded; `kind` is sent as it is.
// `tickCount` is printed as a signed 32-bit number, so ticks past 2^31 ms
// print negative, as the endpoint has always received them.
std::wstring FormatReportUrl(std::wstring_view base, std::wstring_view kind, std::wstring_view value,
                             std::wstring_view uid, unsigned long tickCount);
