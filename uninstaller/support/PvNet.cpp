#include "PvNet.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "PvHelpers.h"
#include "PvLog.h"
#include "PvZlib.h"

namespace {

constexpr DWORD kConnectTimeoutMs = 3000;
// Sending the request and waiting for each part of the reply: a report's
// reply is a few bytes, so a server silent this long is not answering.
constexpr DWORD kReplyTimeoutMs = 3000;
constexpr DWORD kChunkBytes = 16384;
constexpr wchar_t kProxyFileName[] = L"proxy.dat";
// Reload and no cache write: a reply served from the cache would mean a
// request, a report, that never reached the server. No authentication and
// no cookies: the server, or the proxy proxy.dat names (a file users may
// write), could otherwise ask this elevated process for the logged-on
// account's credentials and get them, or a challenge answered with them.
constexpr DWORD kRequestFlags = INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_UI | INTERNET_FLAG_RELOAD |
                                INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTH | INTERNET_FLAG_NO_COOKIES;

std::wstring Wide(const char16_t* text) {
  return std::wstring(text, text + std::char_traits<char16_t>::length(text));
}

// WinINet connects only when a request is sent, so these are the send
// failures that mean the server was never reached.
bool IsUnreachableError(DWORD error) {
  return error == ERROR_INTERNET_CANNOT_CONNECT || error == ERROR_INTERNET_NAME_NOT_RESOLVED;
}

// The send waits for the reply's head too: a timeout there, or a connection
// that ended before any reply, means the server took the request and never
// answered. Wine's WinINet may report the socket's own code instead of its
// own, and 64-bit Wine reports its receive timeout as an aborted connection.
bool IsNoReplyError(DWORD error) {
  return error == ERROR_INTERNET_TIMEOUT || error == WSAETIMEDOUT || error == ERROR_INTERNET_CONNECTION_ABORTED ||
         error == ERROR_INTERNET_CONNECTION_RESET;
}

}  // namespace

CPvNet& CPvNet::Instance() {
  static CPvNet instance;
  return instance;
}

CPvNet::CPvNet() {
  LoadProxyConfig();
}

CPvNet::~CPvNet() {
  m_bStop = true;
}

void CPvNet::LoadProxyConfig() {
  wchar_t folder[MAX_PATH + 1];
  GetCurPath(folder);
  unsigned char record[tagProxyInfo::kRecordBytes];
  DWORD read = 0;
  UniqueFileHandle file(CreateFileW((std::wstring(folder) + kProxyFileName).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
  if (!file || !ReadFile(file.Get(), record, sizeof record, &read, nullptr)) read = 0;
  m_proxy = ParseProxyRecord(record, read);
}

void CPvNet::Stop() {
  m_bStop = true;
}

HINTERNET CPvNet::OpenSession() const {
  wchar_t agent[32];
  std::swprintf(agent, sizeof agent / sizeof agent[0], L"Agent%ld", static_cast<long>(GetTickCount()));
  if (m_proxy.enabled) {
    const std::wstring proxyList = L"HTTP=HTTP://" + Wide(m_proxy.host) + L":" + Wide(m_proxy.port);
    return InternetOpenW(agent, INTERNET_OPEN_TYPE_PROXY, proxyList.c_str(), nullptr, 0);
  }
  DWORD state = 0;
  InternetGetConnectedState(&state, 0);
  const DWORD access = (state & INTERNET_CONNECTION_PROXY) ? INTERNET_OPEN_TYPE_PRECONFIG : INTERNET_OPEN_TYPE_DIRECT;
  return InternetOpenW(agent, access, nullptr, nullptr, 0);
}

bool CPvNet::SendRequest(HINTERNET session, const tagUrlParts& url, UniqueInternetHandle& connection,
                         UniqueInternetHandle& request) const {
  const std::wstring headers = FormatRequestHeaders(url.host);
  const wchar_t* acceptTypes[] = {L"*/*", nullptr};
  DWORD lastError = ERROR_INTERNET_CANNOT_CONNECT;
  for (int attempt = 1; attempt <= m_nRetry; ++attempt) {
    if (attempt > 1) Sleep(static_cast<DWORD>(m_nRetryDelay));
    request.Reset();
    connection.Reset(InternetConnectW(session, url.host.c_str(), INTERNET_DEFAULT_HTTP_PORT, nullptr, nullptr,
                                      INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) continue;

    request.Reset(HttpOpenRequestW(connection.Get(), L"GET", url.path.c_str(), L"HTTP/1.1", nullptr, acceptTypes,
                                   kRequestFlags, 0));
    if (!request) {
      ::WriteLog(L"网络连接异常: HttpOpenRequest");
      return false;
    }
    // Set on the request: Windows also takes timeouts from the session, but
    // not every WinINet does.
    DWORD timeout = kReplyTimeoutMs;
    InternetSetOptionW(request.Get(), INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionW(request.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    HttpAddRequestHeadersW(request.Get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                           HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE);
    if (HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0)) return true;
    lastError = GetLastError();
    // Any other send failure shows up as a failed or empty read.
    if (!IsUnreachableError(lastError) && !IsNoReplyError(lastError)) return true;
  }
  ::WriteLog(IsNoReplyError(lastError) ? L"网络连接异常: HttpSendRequest" : L"网络连接异常: InternetConnect");
  return false;
}

bool CPvNet::isGzip(HINTERNET request) {
  wchar_t encoding[256];  // 512 bytes
  DWORD bytes = sizeof encoding;
  if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_ENCODING, encoding, &bytes, nullptr)) return false;
  return IsCompressedEncoding(std::wstring_view(encoding, bytes / sizeof(wchar_t)));
}

void CPvNet::DecodeInPlace(char* buffer, DWORD length, int size) {
  BYTE* decoded = nullptr;
  DWORD decodedLength = 0;
  if (CPvZlib::Instance().DecodeGZipBuffer(reinterpret_cast<const BYTE*>(buffer), length, &decoded, &decodedLength,
                                           static_cast<DWORD>(size - 1)) == S_OK) {
    std::memcpy(buffer, decoded, decodedLength);
    buffer[decodedLength] = '\0';
  } else {
    buffer[0] = '\0';
  }
  std::free(decoded);
}

int CPvNet::GetUrlInfo(const wchar_t* url, char* buffer, int size) {
  if (url == nullptr || buffer == nullptr || size < 1) return 0;

  UniqueInternetHandle session(OpenSession());
  if (!session) {
    ::WriteLog(L"网络连接异常: InternetOpen");
    return 0;
  }
  DWORD timeout = kConnectTimeoutMs;
  InternetSetOptionW(session.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);

  // Declared after the session, so they are closed before it.
  UniqueInternetHandle connection;
  UniqueInternetHandle request;
  if (!SendRequest(session.Get(), SplitHttpUrl(url), connection, request)) return 0;

  const bool compressed = isGzip(request.Get());
  std::memset(buffer, 0, static_cast<size_t>(size));
  const DWORD room = static_cast<DWORD>(size - 1);
  DWORD length = 0;
  while (!m_bStop && length < room) {
    DWORD read = 0;
    if (!InternetReadFile(request.Get(), buffer + length, std::min(kChunkBytes, room - length), &read)) {
      ::WriteLog(L"网络连接异常: InternetReadFile");
      buffer[0] = '\0';
      return 0;
    }
    if (read == 0) break;
    length += read;
  }
  buffer[length] = '\0';

  // A zero byte inside means binary data: most likely compressed without
  // saying so.
  if (compressed || std::strlen(buffer) != length) DecodeInPlace(buffer, length, size);
  return 1;
}

int GetUrlInfo(const wchar_t* url, char* buffer, int size) {
  return CPvNet::Instance().GetUrlInfo(url, buffer, size);
}
