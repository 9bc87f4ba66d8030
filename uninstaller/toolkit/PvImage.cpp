#include "PvImage.h"

#include <process.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "ImageSlices.h"
#include "MemoryStream.h"
#include "PvDC.h"
#include "ThreadWait.h"

using Gdiplus::Graphics;
using Gdiplus::Image;
using Gdiplus::ImageAttributes;

namespace {

std::unique_ptr<Image> Decoded(Image* image) {
  std::unique_ptr<Image> owned(image);
  if (owned == nullptr || owned->GetLastStatus() != Gdiplus::Ok) return nullptr;
  return owned;
}

Gdiplus::Rect ToGdiplus(const PvRect& rect) {
  return Gdiplus::Rect(rect.x, rect.y, rect.width, rect.height);
}

// Scales each channel by its factor.
void ScaleChannels(ImageAttributes& attributes, float red, float green, float blue, float alpha) {
  Gdiplus::ColorMatrix matrix = {};
  matrix.m[0][0] = red;
  matrix.m[1][1] = green;
  matrix.m[2][2] = blue;
  matrix.m[3][3] = alpha;
  attributes.SetColorMatrix(&matrix);
}

}  // namespace

CPvImage& CPvImage::Instance() {
  static CPvImage instance;
  return instance;
}

CPvImage::CPvImage() = default;

CPvImage::~CPvImage() {
  // GDI+ must outlive the movie threads.
  StopMovies(INFINITE);
}

bool CPvImage::StopMovies(DWORD milliseconds) {
  m_stopAll = 1;
  // Every movie thread sees the flag after its current frame.
  std::vector<HANDLE> threads;
  {
    std::lock_guard<std::mutex> lock(m_movieMutex);
    for (const UniqueKernelHandle& thread : m_movieThreads) threads.push_back(thread.Get());
  }
  return WaitForThreads(threads, milliseconds).empty();
}

std::unique_ptr<Image> CPvImage::LoadPngFromRes(const wchar_t* resource, const wchar_t* type) const {
  HMODULE module = m_hInstance != nullptr ? m_hInstance : GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, resource, type);
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return nullptr;
  UniqueCom<IStream> stream = CreateStreamOverCopy(bytes, SizeofResource(module, found));
  if (!stream) return nullptr;
  return Decoded(Image::FromStream(stream.Get()));
}

std::unique_ptr<Image> CPvImage::Load(const PvImageSource& source) const {
  if (source.Stream() != nullptr) {
    // A stream is decoded from its start however often it was read before.
    LARGE_INTEGER start = {};
    source.Stream()->Seek(start, STREAM_SEEK_SET, nullptr);
    return Decoded(Image::FromStream(source.Stream()));
  }
  if (source.Path() != nullptr) return Decoded(Image::FromFile(source.Path()));
  if (source.Resource() != nullptr && source.Type() != nullptr) return LoadPngFromRes(source.Resource(), source.Type());
  return nullptr;
}

bool CPvImage::CheckImage(const wchar_t* path) const {
  std::unique_ptr<Image> image = path != nullptr ? Load(path) : nullptr;
  return image != nullptr && image->GetHeight() > 0;
}

bool CPvImage::DrawImg(HDC hdc, Image* image, int x, int y, int w, int h, const RECT* source,
                       const ImageAttributes* attributes) const {
  if (hdc == nullptr) return false;
  if (image == nullptr) return true;
  Gdiplus::Rect from(0, 0, static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()));
  if (source != nullptr) {
    from = Gdiplus::Rect(source->left, source->top, source->right - source->left, source->bottom - source->top);
  }
  if (w == 0) w = from.Width;
  if (h == 0) h = from.Height;
  Graphics graphics(hdc);
  graphics.DrawImage(image, Gdiplus::Rect(x, y, w, h), from.X, from.Y, from.Width, from.Height, Gdiplus::UnitPixel,
                     attributes);
  return true;
}

bool CPvImage::DrawImg(HDC hdc, const PvImageSource& source, int x, int y, int w, int h, const RECT* part) const {
  if (hdc == nullptr) return false;
  return DrawImg(hdc, Load(source).get(), x, y, w, h, part);
}

bool CPvImage::DrawStretchImg(HDC hdc, Image* image, int x, int y, int w, int h, int horizontalEdge, int frames,
                              int index, int verticalEdge) const {
  if (hdc == nullptr) return false;
  if (image == nullptr) return true;
  const PvRect frame = FrameRect(image->GetWidth(), image->GetHeight(), frames, index);
  if (horizontalEdge < 1 && verticalEdge < 1) {
    const RECT source = {frame.x, frame.y, frame.x + frame.width, frame.y + frame.height};
    return DrawImg(hdc, image, x, y, w, h, &source);
  }
  // Slices are stretched by repeating pixels: a smoothing filter would
  // sample across a slice's border and let its neighbour's colour bleed in.
  ImageAttributes attributes;
  attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
  Graphics graphics(hdc);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
  graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  for (const PvSlice& slice : StretchSlices(frame, {x, y, w, h}, horizontalEdge, verticalEdge)) {
    graphics.DrawImage(image, ToGdiplus(slice.target), slice.source.x, slice.source.y, slice.source.width,
                       slice.source.height, Gdiplus::UnitPixel, &attributes);
  }
  return true;
}

bool CPvImage::DrawStretchImg(HDC hdc, const PvImageSource& source, int x, int y, int w, int h, int horizontalEdge,
                              int frames, int index, int verticalEdge) const {
  if (hdc == nullptr) return false;
  return DrawStretchImg(hdc, Load(source).get(), x, y, w, h, horizontalEdge, frames, index, verticalEdge);
}

bool CPvImage::DrawImgEx(HDC hdc, const PvImageSource& source, float red, float green, float blue, float alpha, int x,
                         int y, int w, int h) const {
  if (hdc == nullptr) return false;
  ImageAttributes attributes;
  ScaleChannels(attributes, red, green, blue, alpha);
  return DrawImg(hdc, Load(source).get(), x, y, w, h, nullptr, &attributes);
}

bool CPvImage::DrawTranImg(HDC hdc, const PvImageSource& source, Gdiplus::ARGB high, Gdiplus::ARGB low, int x, int y,
                           int w, int h) const {
  if (hdc == nullptr) return false;
  ImageAttributes attributes;
  attributes.SetColorKey(Gdiplus::Color(low), Gdiplus::Color(high));
  return DrawImg(hdc, Load(source).get(), x, y, w, h, nullptr, &attributes);
}

bool CPvImage::DrawRotate(HDC hdc, const PvImageSource& source, float angle, int x, int y, int w, int h) const {
  if (hdc == nullptr) return false;
  std::unique_ptr<Image> image = Load(source);
  if (image == nullptr) return true;
  if (w == 0) w = image->GetWidth();
  if (h == 0) h = image->GetHeight();
  Graphics graphics(hdc);
  graphics.TranslateTransform(x + w / 2.0f, y + h / 2.0f);
  graphics.RotateTransform(angle);
  graphics.TranslateTransform(-w / 2.0f - x, -h / 2.0f - y);
  graphics.DrawImage(image.get(), x, y, w, h);
  graphics.ResetTransform();
  return true;
}

bool CPvImage::DrawRotateFlip(HDC hdc, const PvImageSource& source, int x, int y, int w, int h,
                              Gdiplus::RotateFlipType type, float alpha) const {
  if (hdc == nullptr) return false;
  std::unique_ptr<Image> image = Load(source);
  if (image == nullptr) return true;
  image->RotateFlip(type);
  ImageAttributes attributes;
  ScaleChannels(attributes, 1, 1, 1, alpha);
  return DrawImg(hdc, image.get(), x, y, w, h, nullptr, &attributes);
}

bool CPvImage::DrawRotate3D(HDC hdc, const PvImageSource& source, int x1, int y1, int x2, int y2, int x3,
                            int y3) const {
  if (hdc == nullptr) return false;
  std::unique_ptr<Image> image = Load(source);
  if (image == nullptr) return false;
  const Gdiplus::Point corners[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
  Graphics graphics(hdc);
  graphics.DrawImage(image.get(), corners, 3);
  return true;
}

bool CPvImage::DrawString(HDC hdc, HFONT font, const wchar_t* text, int x, int y, int w, int h, COLORREF colour,
                          int alpha, bool centred, bool lineLimit, bool noWrap) const {
  if (hdc == nullptr || text == nullptr) return false;
  Graphics graphics(hdc);
  // The wide LOGFONT keeps a Chinese face name intact in every code page.
  LOGFONTW logFont = {};
  std::unique_ptr<Gdiplus::Font> gdiplusFont;
  if (font != nullptr && GetObjectW(font, sizeof logFont, &logFont) != 0) {
    gdiplusFont = std::make_unique<Gdiplus::Font>(hdc, &logFont);
  } else {
    gdiplusFont = std::make_unique<Gdiplus::Font>(hdc);
  }
  if (gdiplusFont->GetLastStatus() != Gdiplus::Ok) {
    // A face GDI+ cannot use (not installed, or not TrueType) still gives
    // readable text at the asked size.
    const int pixels = logFont.lfHeight != 0 ? std::abs(static_cast<int>(logFont.lfHeight)) : 12;
    gdiplusFont =
        std::make_unique<Gdiplus::Font>(Gdiplus::FontFamily::GenericSansSerif(), static_cast<Gdiplus::REAL>(pixels),
                                        Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    if (gdiplusFont->GetLastStatus() != Gdiplus::Ok) return false;
  }

  Gdiplus::StringFormat format;
  format.SetAlignment(centred ? Gdiplus::StringAlignmentCenter : Gdiplus::StringAlignmentNear);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
  INT flags = 0;
  if (lineLimit) flags |= Gdiplus::StringFormatFlagsLineLimit;
  if (noWrap) flags |= Gdiplus::StringFormatFlagsNoWrap;
  format.SetFormatFlags(flags);
  const Gdiplus::SolidBrush brush(
      Gdiplus::Color(static_cast<BYTE>(alpha), GetRValue(colour), GetGValue(colour), GetBValue(colour)));
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintSystemDefault);
  if (w != 0 && h != 0) {
    const Gdiplus::RectF box(static_cast<Gdiplus::REAL>(x), static_cast<Gdiplus::REAL>(y),
                             static_cast<Gdiplus::REAL>(w), static_cast<Gdiplus::REAL>(h));
    graphics.DrawString(text, -1, gdiplusFont.get(), box, &format, &brush);
  } else {
    const Gdiplus::PointF origin(static_cast<Gdiplus::REAL>(x), static_cast<Gdiplus::REAL>(y));
    graphics.DrawString(text, -1, gdiplusFont.get(), origin, &format, &brush);
  }
  return true;
}

int CPvImage::GetEncoderClsid(const wchar_t* mime, CLSID* clsid) const {
  UINT count = 0;
  UINT bytes = 0;
  if (mime == nullptr || Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return -1;
  std::vector<BYTE> buffer(bytes);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) return -1;
  for (UINT i = 0; i < count; ++i) {
    if (std::wcscmp(encoders[i].MimeType, mime) == 0) {
      if (clsid != nullptr) *clsid = encoders[i].Clsid;
      return static_cast<int>(i);
    }
  }
  return -1;
}

bool CPvImage::DcToPngStream(HDC source, int width, int height, IStream* stream) const {
  CLSID encoder = {};
  if (source == nullptr || stream == nullptr || width <= 0 || height <= 0) return false;
  if (GetEncoderClsid(L"image/png", &encoder) < 0) return false;
  UniqueBitmap copy(CPvDC::CreateCompatibleBitmapEx({0, 0, width, height}, true));
  UniqueMemoryDc memory(CreateCompatibleDC(source));
  if (!copy || !memory) return false;
  HGDIOBJ previous = SelectObject(memory.Get(), copy.Get());
  const bool copied = BitBlt(memory.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY) != FALSE;
  SelectObject(memory.Get(), previous);
  GdiFlush();  // the pixels are read directly below
  DIBSECTION section = {};
  if (!copied || GetObjectW(copy.Get(), sizeof section, &section) != sizeof section) return false;
  Gdiplus::Bitmap picture(width, height, section.dsBm.bmWidthBytes, PixelFormat32bppPARGB,
                          static_cast<BYTE*>(section.dsBm.bmBits));
  return picture.Save(stream, &encoder, nullptr) == Gdiplus::Ok;
}

bool CPvImage::SaveBitmap(HBITMAP bitmap, const wchar_t* path, const wchar_t* format) const {
  CLSID encoder = {};
  if (bitmap == nullptr || path == nullptr || format == nullptr) return false;
  if (GetEncoderClsid((std::wstring(L"image/") + format).c_str(), &encoder) < 0) return false;
  Gdiplus::Bitmap picture(bitmap, nullptr);
  return picture.Save(path, &encoder, nullptr) == Gdiplus::Ok;
}

bool CPvImage::SavePic(HDC hdc, const RECT& rect, const wchar_t* path, const wchar_t* format) const {
  if (hdc == nullptr) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  UniqueMemoryDc memory(CreateCompatibleDC(hdc));
  UniqueBitmap bitmap(CreateCompatibleBitmap(hdc, width, height));
  if (!memory || !bitmap) return false;
  HGDIOBJ previous = SelectObject(memory.Get(), bitmap.Get());
  BitBlt(memory.Get(), 0, 0, width, height, hdc, rect.left, rect.top, SRCCOPY);
  SelectObject(memory.Get(), previous);
  return SaveBitmap(bitmap.Get(), path, format);
}

bool CPvImage::SaveScreen(const wchar_t* path, const wchar_t* format) const {
  UniqueMemoryDc screen(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  if (!screen) return false;
  const RECT whole = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return SavePic(screen.Get(), whole, path, format);
}

bool CPvImage::SavePic(HWND wnd, const wchar_t* path, const wchar_t* format) const {
  RECT client = {};
  if (!GetClientRect(wnd, &client)) return false;
  WindowDc windowDc(wnd);
  return SavePic(windowDc.Get(), client, path, format);
}

bool CPvImage::SavePic(const wchar_t* sourcePath, const wchar_t* targetPath, const wchar_t* format) const {
  CLSID encoder = {};
  if (targetPath == nullptr || format == nullptr) return false;
  if (GetEncoderClsid((std::wstring(L"image/") + format).c_str(), &encoder) < 0) return false;
  std::unique_ptr<Image> image = sourcePath != nullptr ? Load(sourcePath) : nullptr;
  return image != nullptr && image->Save(targetPath, &encoder, nullptr) == Gdiplus::Ok;
}

bool CPvImage::AddMovie(HWND wnd, int resourceId, const wchar_t* resourceType, int x, int y, int frames, int delay,
                        int id, int mode, int width, int height, HDC background) {
  return AddMovie(wnd, x, y, frames, delay, id, mode, width, height, background, [&](tagPvMovie& movie) {
    movie.source = tagPvMovie::kResource;
    movie.resourceId = resourceId;
    movie.resourceType = resourceType != nullptr ? resourceType : L"";
  });
}

bool CPvImage::AddMovie(HWND wnd, const wchar_t* path, int x, int y, int frames, int delay, int id, int mode, int width,
                        int height, HDC background) {
  return AddMovie(wnd, x, y, frames, delay, id, mode, width, height, background, [&](tagPvMovie& movie) {
    movie.source = tagPvMovie::kFile;
    movie.path = path != nullptr ? path : L"";
  });
}

bool CPvImage::AddMovie(HWND wnd, int x, int y, int frames, int delay, int id, int mode, int width, int height,
                        HDC background, const std::function<void(tagPvMovie&)>& setSource) {
  std::lock_guard<std::mutex> lock(m_movieMutex);
  if (FindMovie(id) != nullptr) return true;
  tagPvMovie& movie = m_movies.emplace_back();
  movie.window = wnd;
  movie.background = background;
  movie.id = id;
  movie.mode = mode;
  movie.x = x;
  movie.y = y;
  movie.width = width;
  movie.height = height;
  // A frame counter needs at least one frame, and a fade at least two.
  const bool fades = mode == tagPvMovie::kFadeIn || mode == tagPvMovie::kFadeOut;
  movie.frames = std::max(frames, fades ? 2 : 1);
  movie.delay = std::max(delay, 0);
  movie.owner = this;
  setSource(movie);
  return true;
}

tagPvMovie* CPvImage::FindMovie(int id) {
  for (tagPvMovie& movie : m_movies) {
    if (movie.id == id) return &movie;
  }
  return nullptr;
}

int CPvImage::GetMovieIndex(int id) {
  std::lock_guard<std::mutex> lock(m_movieMutex);
  for (size_t i = 0; i < m_movies.size(); ++i) {
    if (m_movies[i].id == id) return static_cast<int>(i);
  }
  return -1;
}

void CPvImage::StartMovie(int id) {
  m_stopAll = 0;
  std::lock_guard<std::mutex> lock(m_movieMutex);
  tagPvMovie* movie = FindMovie(id);
  if (movie == nullptr || movie->stopped == 0) return;
  movie->stopped = 0;
  // A thread that is still finishing its last frame goes on playing.
  if (movie->threadRunning) return;
  HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, MovieThread, movie, 0, nullptr));
  if (thread == nullptr) {
    movie->stopped = 1;
    return;
  }
  movie->threadRunning = true;
  // Handles of threads that have ended are of no more use.
  m_movieThreads.erase(
      std::remove_if(m_movieThreads.begin(), m_movieThreads.end(),
                     [](const UniqueKernelHandle& old) { return WaitForSingleObject(old.Get(), 0) == WAIT_OBJECT_0; }),
      m_movieThreads.end());
  m_movieThreads.emplace_back(thread);
}

void CPvImage::StopMovie(int id) {
  std::lock_guard<std::mutex> lock(m_movieMutex);
  if (tagPvMovie* movie = FindMovie(id)) movie->stopped = 1;
}

bool CPvImage::isStop(int id) {
  std::lock_guard<std::mutex> lock(m_movieMutex);
  tagPvMovie* movie = FindMovie(id);
  return movie != nullptr && movie->stopped != 0;
}

void CPvImage::DrawMovieFrame(HDC hdc, tagPvMovie& movie, int counter, bool* finished) const {
  const PvImageSource source = movie.source == tagPvMovie::kFile ? PvImageSource(movie.path.c_str())
                               : movie.source == tagPvMovie::kStream
                                   ? PvImageSource(movie.stream)
                                   : PvImageSource(movie.resourceId, movie.resourceType.c_str());
  const float fadeStep = static_cast<float>(counter) / static_cast<float>(movie.frames - 1);
  switch (movie.mode) {
    case tagPvMovie::kFrameStrip:
      DrawStretchImg(hdc, source, 0, 0, 0, 0, 0, movie.frames, counter, 0);
      break;
    case tagPvMovie::kRotateFlip:
      DrawRotateFlip(hdc, source, 0, 0, 0, 0, static_cast<Gdiplus::RotateFlipType>(counter % 8), 1.0f);
      break;
    case tagPvMovie::kRotate:
      DrawRotate(hdc, source, static_cast<float>(360 / movie.frames * counter), 0, 0, 0, 0);
      break;
    case tagPvMovie::kFadeIn:
      *finished = fadeStep >= 1.0f;
      if (!*finished) DrawImgEx(hdc, source, 1, 1, 1, fadeStep, 0, 0, movie.width, movie.height);
      break;
    case tagPvMovie::kFadeOut:
      *finished = fadeStep >= 1.0f;
      if (!*finished) DrawImgEx(hdc, source, 1, 1, 1, 1.0f - fadeStep, 0, 0, movie.width, movie.height);
      break;
    default:
      break;
  }
}

unsigned __stdcall CPvImage::MovieThread(void* record) {
  tagPvMovie& movie = *static_cast<tagPvMovie*>(record);
  CPvImage& owner = *movie.owner;
  WindowDc windowDc(movie.window);
  const RECT area = {movie.x, movie.y, movie.x + movie.width, movie.y + movie.height};
  CPvDC frame(windowDc.Get(), area, false, false, nullptr);
  for (;;) {
    for (int counter = 0; owner.m_stopAll == 0 && movie.stopped == 0; counter = (counter + 1) % movie.frames) {
      if (movie.background != nullptr) {
        BitBlt(frame, 0, 0, movie.width, movie.height, movie.background, movie.x, movie.y, SRCCOPY);
      }
      bool finished = false;
      owner.DrawMovieFrame(frame, movie, counter, &finished);
      if (finished) {
        movie.stopped = 1;  // a finished fade can be started again
        break;
      }
      frame.Draw();
      Sleep(static_cast<DWORD>(movie.delay));
    }
    // StartMovie may have restarted the record meanwhile; then play on.
    std::lock_guard<std::mutex> lock(owner.m_movieMutex);
    if (owner.m_stopAll != 0 || movie.stopped != 0) {
      movie.threadRunning = false;
      return 0;
    }
  }
}
