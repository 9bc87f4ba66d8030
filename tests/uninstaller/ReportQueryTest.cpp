#include <gtest/gtest.h>

#include "ReportQuery.h"

namespace {

TEST(ReportQueryTest, FormatsQueryWithSignedTickCount) {
  EXPECT_EQ(FormatReportUrl(L"http://h/report.asp", L"open", L"Tesk_Uninstall", L"PV000012340000732767", 123456),
            L"http://h/report.asp?type=open&value=Tesk_Uninstall&uuid=PV000012340000732767&sign=123456");
  // Past 2^31 ms of uptime (24.8 days) the sign turns negative.
  EXPECT_EQ(FormatReportUrl(L"http://h/api.ashx", L"tk_uninstall_dump", L"", L"PV1", 2147483648ul),
            L"http://h/api.ashx?type=tk_uninstall_dump&value=&uuid=PV1&sign=-2147483648");
  EXPECT_EQ(FormatReportUrl(L"u", L"k", L"v", L"i", 4294967295ul), L"u?type=k&value=v&uuid=i&sign=-1");
}

TEST(ReportQueryTest, CutTo1023Characters) {
  const std::wstring url = FormatReportUrl(L"http://h/report.asp", L"k", std::wstring(1100, L'v'), L"PV1", 1);
  EXPECT_EQ(url.size(), 1023u);
  EXPECT_EQ(url.substr(0, 35), L"http://h/report.asp?type=k&value=vv");
}

}  // namespace
