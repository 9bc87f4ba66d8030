#include "MachineId.h"

#include <algorithm>
#include <cwchar>

std::wstring FormatMachineId(unsigned long tickCount, int firstRandom, int secondRandom) {
  wchar_t text[32];
  std::swprintf(text, sizeof text / sizeof text[0], L"PV%08lu%05d%05d", tickCount, firstRandom, secondRandom);
  return text;
}

bool IsReusableMachineId(std::wstring_view stored) {
  if (stored.size() == 20) return true;
  if (stored.size() < 20 || stored.size() > 22 || stored.substr(0, 2) != L"PV") return false;
  return std::all_of(stored.begin() + 2, stored.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}
