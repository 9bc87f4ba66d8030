// The recording HTTP server of the network tests (tests/http_test_server.py)
// on 127.0.0.1:80. Its control requests go over plain sockets, never through
// the HTTP client under test.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

// One request head as the server received it.
struct RecordedRequest {
  std::string listener;  // "origin" (port 80) or "proxy"
  std::string requestLine;
  std::vector<std::string> headerLines;  // in order, as sent

  // The value of the first header of that name (any case), or "" when none.
  std::string Header(const std::string& name) const;
};

namespace test_server {

// The body of GET `pathAndQuery` on 127.0.0.1:80, or "" when unreachable.
std::string Get(const std::string& pathAndQuery);

// Every recorded request whose head contains `token`, oldest first.
std::vector<RecordedRequest> Requests(const std::string& token);

// Whether something accepts connections on 127.0.0.1:80.
bool OriginListening();

// Stops listening on port 80 for `seconds`; returns once it no longer listens.
bool ClosePortFor(int seconds);

// From now on the server reads every request carrying `token` and never
// answers it, holding the connection open until the client closes it.
bool StallRequestsWith(const std::string& token);

int ProxyPort();

// A text no earlier request of this or any other test run carries.
std::string UniqueToken();

}  // namespace test_server
