// Text handling of the uninstaller's HTTP client (platform-free): URL split,
// request header block, reply encoding.
#pragma once

#include <string>
#include <string_view>

struct tagUrlParts {
  std::wstring host;
  std::wstring path;  // starts with '/'
};

// Splits a plain "http://" URL after its 7-character scheme: the host runs to
// the first '/' after it, the path from there to the end ("/" when there is
// none). The scheme is not checked; a text shorter than the scheme gives an
// empty host.
tagUrlParts SplitHttpUrl(std::wstring_view url);

// The header block sent with every request, lines in this order, each ending
// in CR LF.
std::wstring FormatRequestHeaders(std::wstring_view host);

// Whether a Content-Encoding value names a compression the client decodes:
// "gzip" or "deflate", in any case.
bool IsCompressedEncoding(std::wstring_view contentEncoding);
