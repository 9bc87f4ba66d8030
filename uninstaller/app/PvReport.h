#pragma once
void DoReport(const wchar_t* url, const wchar_t* kind, const wchar_t* value);
const wchar_t* GetReportUrl();
