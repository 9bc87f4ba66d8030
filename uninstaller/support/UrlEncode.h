// Percent-encoding of report values (platform-free).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Encodes UTF-8 text for a URL query: control bytes, bytes above 0x7E and the
// URL delimiters become %xx (lower-case hex); '%' and everything else stay.
// Dot segments after a slash are resolved as in a URL path ("/./" drops out,
// "/../" removes the segment before it). Returns false, leaving `out`
// unspecified, when the result would be longer than `maxLength` characters.
bool PercentEncodeUrl(std::string_view utf8, std::size_t maxLength, std::string& out);
