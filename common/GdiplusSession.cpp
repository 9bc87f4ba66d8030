#include "GdiplusSession.h"

#include <atomic>

namespace {

// Sessions may nest (a test starts its own around the framework's), so the
// running state is a count.
std::atomic<int> g_runningSessions{0};
std::atomic<long> g_objectsOutsideSessions{0};

}  // namespace

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;  // version 1
  if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) {
    m_token = 0;
    return;
  }
  ++g_runningSessions;
}

GdiplusSession::~GdiplusSession() {
  if (m_token == 0) return;
  --g_runningSessions;
  Gdiplus::GdiplusShutdown(m_token);
}

bool GdiplusSession::Running() {
  return g_runningSessions > 0;
}

void GdiplusSession::NoteObject() {
  if (!Running()) ++g_objectsOutsideSessions;
}

long GdiplusSession::ObjectsOutsideSessions() {
  return g_objectsOutsideSessions;
}
