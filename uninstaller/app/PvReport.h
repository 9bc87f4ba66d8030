// Reports of the uninstaller to its web endpoints: one HTTP GET each, sent on
// a thread of its own, reply and failures dropped. The threads are kept
// until they end, so that the program can wait for them before it ends.
#pragma once

#include <windows.h>

#include "ReportEndpoints.h"

// One queued report; zero-filled texts.
struct tagReportRequest {
  static constexpr int kUrlUnits = 200;
  static constexpr int kKindUnits = 30;
  static constexpr int kValueUnits = 100;

  wchar_t url[kUrlUnits];
  wchar_t kind[kKindUnits];
  wchar_t value[kValueUnits];
};

// Sends "<url>?type=<kind>&value=<value>&uuid=<machine id>&sign=<ticks>" on
// a new thread and returns at once. Nothing is sent when `url` is null or
// empty (a build without a report host), `kind` is null, `url` has 200 or `kind` 30 characters or more; a value of 100
// characters or more is sent empty. The value is percent-encoded as UTF-8.
void DoReport(const wchar_t* url, const wchar_t* kind, const wchar_t* value);

// Waits up to `milliseconds` in all for the reports still being sent; false
// when one still sends.
bool WaitForReports(DWORD milliseconds);

// The report thread: takes ownership of `request`, a tagReportRequest
// allocated with new, sends it and deletes it.
unsigned __stdcall ReportThread(void* request);
