#include "PvReport.h"

#include <algorithm>
#include <cwchar>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Handles.h"
#include "PvHelpers.h"
#include "PvNet.h"
#include "PvThread.h"
#include "ReportQuery.h"
#include "ThreadWait.h"

namespace {
constexpr int kEncodedValueUnits = 1024;  // what URLEncode needs to work in place
constexpr int kUidUnits = 23;
constexpr int kReplyBytes = 50;  // the reply is read and dropped

std::mutex g_reportMutex;  // guards g_reportThreads
// Report threads not yet seen ended; ended ones are dropped by the next report.
std::vector<UniqueKernelHandle> g_reportThreads;
}  // namespace

void DoReport(const wchar_t* url, const wchar_t* kind, const wchar_t* value) {
  // An empty endpoint is a build configured without reports: nothing is
  // sent, and no machine identifier is made or stored for one.
  if (url == nullptr || url[0] == L'\0' || kind == nullptr) return;
  if (std::wcslen(url) >= tagReportRequest::kUrlUnits || std::wcslen(kind) >= tagReportRequest::kKindUnits) return;

  auto request = std::make_unique<tagReportRequest>();  // value-initialised: zero-filled
  wcscpy_s(request->url, url);
  wcscpy_s(request->kind, kind);
  if (value != nullptr && std::wcslen(value) < tagReportRequest::kValueUnits) wcscpy_s(request->value, value);

  // Once started, the thread owns the request.
  UniqueKernelHandle thread(CPvThread::Instance().StartThread(ReportThread, request.get(), 0));
  if (!thread) return;
  request.release();
  std::lock_guard<std::mutex> lock(g_reportMutex);
  g_reportThreads.erase(
      std::remove_if(g_reportThreads.begin(), g_reportThreads.end(),
                     [](const UniqueKernelHandle& sent) { return WaitForSingleObject(sent.Get(), 0) != WAIT_TIMEOUT; }),
      g_reportThreads.end());
  g_reportThreads.push_back(std::move(thread));
}

bool WaitForReports(DWORD milliseconds) {
  // Waited for under the lock: a report started meanwhile waits to be kept,
  // and no handle is closed while it is waited for.
  std::lock_guard<std::mutex> lock(g_reportMutex);
  std::vector<HANDLE> threads;
  for (const UniqueKernelHandle& thread : g_reportThreads) threads.push_back(thread.Get());
  return WaitForThreads(threads, milliseconds).empty();
}

unsigned __stdcall ReportThread(void* request) {
  std::unique_ptr<tagReportRequest> report(static_cast<tagReportRequest*>(request));

  // Encoded in a buffer of its own: the encoding is up to nine times longer
  // than the value's field.
  wchar_t value[kEncodedValueUnits];
  wcscpy_s(value, report->value);
  URLEncode(value);

  wchar_t uid[kUidUnits];
  CreateUID(uid, 1);

  const std::wstring url = FormatReportUrl(report->url, report->kind, value, uid, GetTickCount());
  char reply[kReplyBytes];
  GetUrlInfo(url.c_str(), reply, sizeof reply);
  return 0;
}
