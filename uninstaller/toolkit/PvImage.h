// Process-wide GDI+ drawer of the skinned toolkit: embedded PNG pictures,
// plain, framed, sliced, tinted, colour-keyed, rotated and mapped drawing,
// text, saving through the GDI+ encoders, and small frame animations
// (movies) that play on threads of their own.
#pragma once

#include <windows.h>
#include <objidl.h>  // GDI+ needs COM types that WIN32_LEAN_AND_MEAN leaves out
#include <gdiplus.h>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "GdiplusSession.h"
#include "Handles.h"

// Where a picture comes from: a stream, a file, or an embedded resource by
// number or name and type (the toolkit's pictures are of type "IMG"). Holds
// borrowed pointers only; the caller keeps them alive for the call.
class PvImageSource {
 public:
  PvImageSource(IStream* stream) : m_stream(stream) {}
  PvImageSource(const wchar_t* path) : m_path(path) {}
  PvImageSource(int id, const wchar_t* type) : m_resource(MAKEINTRESOURCEW(id)), m_type(type) {}
  PvImageSource(const wchar_t* name, const wchar_t* type) : m_resource(name), m_type(type) {}

  IStream* Stream() const { return m_stream; }
  const wchar_t* Path() const { return m_path; }
  const wchar_t* Resource() const { return m_resource; }
  const wchar_t* Type() const { return m_type; }

 private:
  IStream* m_stream = nullptr;
  const wchar_t* m_path = nullptr;
  const wchar_t* m_resource = nullptr;
  const wchar_t* m_type = nullptr;
};

class CPvImage;

// One animation. Records are never removed and never move while their thread
// runs (the list is a deque that only grows at the end).
struct tagPvMovie {
  enum Source { kResource = 0, kFile = 1, kStream = 2 };
  enum Mode { kFrameStrip = 0, kRotateFlip = 1, kRotate = 2, kFadeIn = 3, kFadeOut = 4 };

  HWND window = nullptr;
  HDC background = nullptr;  // when set, the movie's rectangle is copied from it before each frame
  int id = 0;
  int source = kResource;
  int mode = kFrameStrip;
  std::wstring path;
  int resourceId = 0;
  std::wstring resourceType;
  IStream* stream = nullptr;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int frames = 1;  // also the modulus of the frame counter
  int delay = 50;  // milliseconds between frames
  std::atomic<int> stopped{1};
  CPvImage* owner = nullptr;
  bool threadRunning = false;  // guarded by the owner's movie mutex
};

class CPvImage {
 public:
  static CPvImage& Instance();

  CPvImage();
  // Stops every movie, waits for their threads, then shuts GDI+ down.
  ~CPvImage();
  CPvImage(const CPvImage&) = delete;
  CPvImage& operator=(const CPvImage&) = delete;

  // Module the embedded pictures are loaded from; null is the program itself.
  void SetInst(HINSTANCE instance) { m_hInstance = instance; }

  // A picture decoded from an embedded resource, or null. The caller owns it.
  std::unique_ptr<Gdiplus::Image> LoadPngFromRes(const wchar_t* resource, const wchar_t* type) const;
  std::unique_ptr<Gdiplus::Image> LoadPngFromRes(int id, const wchar_t* type) const {
    return LoadPngFromRes(MAKEINTRESOURCEW(id), type);
  }
  // A picture from any source, or null when it cannot be decoded.
  std::unique_ptr<Gdiplus::Image> Load(const PvImageSource& source) const;
  // True when the file decodes to a picture of non-zero height.
  bool CheckImage(const wchar_t* path) const;

  // Every drawing operation returns false at once for a null DC and draws
  // nothing for a picture that cannot be loaded.

  // The source rectangle (or the whole picture) into (x, y, w, h); a width or
  // height of 0 means the source's own.
  bool DrawImg(HDC hdc, Gdiplus::Image* image, int x, int y, int w, int h, const RECT* source = nullptr,
               const Gdiplus::ImageAttributes* attributes = nullptr) const;
  bool DrawImg(HDC hdc, const PvImageSource& source, int x, int y, int w, int h, const RECT* part = nullptr) const;

  // Frame `index` of a strip of `frames`, stretched plainly, or by three or
  // nine slices that keep `horizontalEdge` columns and `verticalEdge` rows.
  bool DrawStretchImg(HDC hdc, Gdiplus::Image* image, int x, int y, int w, int h, int horizontalEdge, int frames,
                      int index, int verticalEdge) const;
  bool DrawStretchImg(HDC hdc, const PvImageSource& source, int x, int y, int w, int h, int horizontalEdge, int frames,
                      int index, int verticalEdge) const;

  // The picture with each channel scaled by its factor.
  bool DrawImgEx(HDC hdc, const PvImageSource& source, float red, float green, float blue, float alpha, int x, int y,
                 int w, int h) const;
  // The picture with the colours from `low` to `high` (ARGB) made transparent.
  bool DrawTranImg(HDC hdc, const PvImageSource& source, Gdiplus::ARGB high, Gdiplus::ARGB low, int x, int y, int w,
                   int h) const;
  // The picture rotated by `angle` degrees about the centre of its rectangle.
  bool DrawRotate(HDC hdc, const PvImageSource& source, float angle, int x, int y, int w, int h) const;
  // The picture turned or mirrored by GDI+, its alpha scaled.
  bool DrawRotateFlip(HDC hdc, const PvImageSource& source, int x, int y, int w, int h, Gdiplus::RotateFlipType type,
                      float alpha) const;
  // The picture mapped onto the parallelogram through its upper-left,
  // upper-right and lower-left corners.
  bool DrawRotate3D(HDC hdc, const PvImageSource& source, int x1, int y1, int x2, int y2, int x3, int y3) const;

  // Text in `font` (null: the DC's font), laid out in (x, y, w, h) when both
  // sizes are non-zero, else drawn from the point (x, y). Vertically centred,
  // trimmed with an ellipsis. `noWrap` keeps the text on one line: GDI+
  // under Wine draws nothing at all when wrapped lines with the line limit
  // are taller than the box.
  bool DrawString(HDC hdc, HFONT font, const wchar_t* text, int x, int y, int w, int h, COLORREF colour, int alpha,
                  bool centred, bool lineLimit, bool noWrap = false) const;

  // Index of the encoder for `mime` (exact match), its CLSID in `clsid`; -1
  // when there is none.
  int GetEncoderClsid(const wchar_t* mime, CLSID* clsid) const;
  // The (width x height) picture at (0, 0) of `source` as a PNG with its
  // alpha, read as 32-bit premultiplied pixels: copied first into a DIB
  // section that is no longer selected into a DC when GDI+ reads it.
  bool DcToPngStream(HDC source, int width, int height, IStream* stream) const;
  bool SaveScreen(const wchar_t* path, const wchar_t* format) const;
  bool SavePic(HDC hdc, const RECT& rect, const wchar_t* path, const wchar_t* format) const;
  bool SavePic(HWND wnd, const wchar_t* path, const wchar_t* format) const;
  bool SavePic(const wchar_t* sourcePath, const wchar_t* targetPath, const wchar_t* format) const;

  // Adds a stopped movie; an id already in use keeps its first record.
  bool AddMovie(HWND wnd, int resourceId, const wchar_t* resourceType, int x, int y, int frames, int delay, int id,
                int mode, int width, int height, HDC background);
  bool AddMovie(HWND wnd, const wchar_t* path, int x, int y, int frames, int delay, int id, int mode, int width,
                int height, HDC background);
  void StartMovie(int id);
  void StopMovie(int id);
  // Stops every movie and waits up to `milliseconds` in all for their
  // threads; false when one still draws.
  bool StopMovies(DWORD milliseconds);
  bool isStop(int id);
  int GetMovieIndex(int id);
  bool isExistsMovie(int id) { return GetMovieIndex(id) >= 0; }

 private:
  // Appends a stopped movie unless the id is taken; `setSource` names its
  // picture.
  bool AddMovie(HWND wnd, int x, int y, int frames, int delay, int id, int mode, int width, int height, HDC background,
                const std::function<void(tagPvMovie&)>& setSource);
  tagPvMovie* FindMovie(int id);  // under m_movieMutex
  bool SaveBitmap(HBITMAP bitmap, const wchar_t* path, const wchar_t* format) const;
  void DrawMovieFrame(HDC hdc, tagPvMovie& movie, int counter, bool* finished) const;
  static unsigned __stdcall MovieThread(void* movie);

  // First, so that GDI+ outlives every picture the members below hold.
  GdiplusSession m_gdiplus;
  std::atomic<int> m_stopAll{0};
  std::mutex m_movieMutex;  // guards the list's shape and every record's threadRunning
  std::deque<tagPvMovie> m_movies;
  std::vector<UniqueKernelHandle> m_movieThreads;  // joined by the destructor
  HINSTANCE m_hInstance = nullptr;
};
