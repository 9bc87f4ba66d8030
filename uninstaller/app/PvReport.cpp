#include "PvReport.h"
void DoReport(const wchar_t*, const wchar_t*, const wchar_t*) {}
const wchar_t* GetReportUrl() {
  return L"http://127.0.0.1/report.asp";
}
