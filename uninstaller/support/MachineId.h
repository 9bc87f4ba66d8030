// The machine identifier's text form (platform-free).
#pragma once

#include <string>
#include <string_view>

// "PV", the tick count with at least 8 digits, then two random numbers of
// exactly 5 digits each: 20 characters, up to 22 once the tick count passes
// 10^8 ms. The random numbers are in 0..99999.
std::wstring FormatMachineId(unsigned long tickCount, int firstRandom, int secondRandom);

// Whether a stored identifier is kept. Any 20-character value is, as it
// always was; so is "PV" followed by 18 to 20 digits, the form written after
// long uptimes.
bool IsReusableMachineId(std::wstring_view stored);
