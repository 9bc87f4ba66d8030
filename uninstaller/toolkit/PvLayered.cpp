#include "PvLayered.h"

#include <atomic>
#include <cassert>
#include <map>
#include <mutex>

namespace {

struct LayeredRecord {
  bool byAttributes = false;  // SetLayeredWindowAttributes since the style was last set
  BYTE constantAlpha = 255;
};

std::mutex g_mutex;  // guards g_records
// Windows with an attribute call or a constant alpha other than 255.
std::map<HWND, LayeredRecord> g_records;
std::atomic<int> g_orderFaults{0};

void SetLayeredStyle(HWND wnd, bool layered) {
  const LONG style = GetWindowLongW(wnd, GWL_EXSTYLE);
  SetWindowLongW(wnd, GWL_EXSTYLE, layered ? (style | WS_EX_LAYERED) : (style & ~WS_EX_LAYERED));
}

}  // namespace

void CPvLayered::Make(HWND wnd) {
  if (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) return;
  SetLayeredStyle(wnd, true);
  // Windows forgets an attribute call once the style is cleared.
  std::lock_guard<std::mutex> lock(g_mutex);
  const auto found = g_records.find(wnd);
  if (found != g_records.end()) found->second.byAttributes = false;
}

void CPvLayered::Clear(HWND wnd) {
  SetLayeredStyle(wnd, false);
  Forget(wnd);
}

void CPvLayered::Renew(HWND wnd) {
  Clear(wnd);
  Make(wnd);
}

void CPvLayered::SetAlpha(HWND wnd, BYTE alpha) {
  Make(wnd);
  if (!SetLayeredWindowAttributes(wnd, 0, alpha, LWA_ALPHA)) return;
  std::lock_guard<std::mutex> lock(g_mutex);
  g_records[wnd].byAttributes = true;
}

void CPvLayered::SetConstantAlpha(HWND wnd, BYTE alpha) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_records[wnd].constantAlpha = alpha;
}

bool CPvLayered::Update(HWND wnd, HDC screen, const RECT& place, HDC source) {
  LayeredRecord record;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    const auto found = g_records.find(wnd);
    if (found != g_records.end()) record = found->second;
  }
  if (record.byAttributes) {
    ++g_orderFaults;
    OutputDebugStringW(L"pvUninstall: UpdateLayeredWindow after SetLayeredWindowAttributes without Renew\n");
    assert(!"UpdateLayeredWindow after SetLayeredWindowAttributes without Renew");
  }
  POINT destination = {place.left, place.top};
  SIZE size = {place.right - place.left, place.bottom - place.top};
  POINT origin = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, record.constantAlpha, AC_SRC_ALPHA};
  return UpdateLayeredWindow(wnd, screen, &destination, &size, source, &origin, 0, &blend, ULW_ALPHA) != FALSE;
}

void CPvLayered::Forget(HWND wnd) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_records.erase(wnd);
}

int CPvLayered::OrderFaults() {
  return g_orderFaults;
}
