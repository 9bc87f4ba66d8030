// GDI+ started for the lifetime of an object, and a process-wide note of
// whether any such session runs. Windows refuses every GDI+ call made before
// GdiplusStartup (GdiplusNotInitialized) while Wine allows them, so the
// owning wrappers in Handles.h count the objects they take while no session
// runs: a count above zero is a bug that Windows would show as missing
// drawing.
#pragma once

#include <windows.h>
#include <objidl.h>  // GDI+ needs COM types that WIN32_LEAN_AND_MEAN leaves out
#include <gdiplus.h>

class GdiplusSession {
 public:
  // Starts GDI+ on the calling thread's process; Started() says whether it did.
  GdiplusSession();
  // Shuts GDI+ down; every GDI+ object of this session must be gone by then.
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  bool Started() const { return m_token != 0; }

  // Whether any session of this process is running now.
  static bool Running();
  // Called for each GDI+ object a handle wrapper takes: counts it when no
  // session runs. Cheap enough to stay on in release builds.
  static void NoteObject();
  // How many objects were noted so far.
  static long ObjectsOutsideSessions();

 private:
  ULONG_PTR m_token = 0;
};
