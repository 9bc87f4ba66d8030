// The uninstaller's HTTP client: one GET to a plain "http://" URL on port 80
// through WinINet, optionally through the proxy named in "proxy.dat" beside
// the program, with compressed replies decoded. It never authenticates, to
// the server or to the proxy, and sends no cookies.
#pragma once

#include <windows.h>

#include <atomic>

#include "Handles.h"
#include "HttpText.h"
#include "ProxyRecord.h"

class CPvNet {
 public:
  static CPvNet& Instance();

  CPvNet(const CPvNet&) = delete;
  CPvNet& operator=(const CPvNet&) = delete;

  // Rereads "proxy.dat" from the program folder; a missing or short file
  // means no proxy. Not to be called while requests run.
  void LoadProxyConfig();

  // Makes reads under way end after their current chunk.
  void Stop();

  // GETs `url` into `buffer` (`size` bytes), NUL-terminated: at most size - 1
  // reply bytes, a longer reply is cut. A gzip or deflate reply, or one that
  // contains a zero byte, is decoded; a reply that does not decode leaves an
  // empty string. Returns 1 when a reply was read (possibly empty), 0 when
  // the server could not be reached or the read failed; errors go to the
  // debug log. Safe on several threads at once.
  int GetUrlInfo(const wchar_t* url, char* buffer, int size);

 private:
  CPvNet();
  ~CPvNet();

  HINTERNET OpenSession() const;
  // Connects and sends the request; retries a server that cannot be reached
  // or does not answer in time. Returns false when it failed so on every
  // attempt, or when no request can be made; both are logged.
  bool SendRequest(HINTERNET session, const tagUrlParts& url, UniqueInternetHandle& connection,
                   UniqueInternetHandle& request) const;
  static bool isGzip(HINTERNET request);
  static void DecodeInPlace(char* buffer, DWORD length, int size);

  // Every member is trivially destructible, so report threads still running
  // while the process exits read intact values.
  tagProxyInfo m_proxy;
  std::atomic<bool> m_bStop{false};
  int m_nRetry = 3;          // attempts in all
  int m_nRetryDelay = 1000;  // milliseconds between attempts
};

// Forwards to CPvNet::Instance().GetUrlInfo.
int GetUrlInfo(const wchar_t* url, char* buffer, int size);
