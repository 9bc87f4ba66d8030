#include "ExFontLookup.h"

#include <cstddef>

#include "ExFontChoice.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

bool GdiplusDraws(const std::wstring& face) {
  UniqueGpFontFamily family;
  return GdipCreateFontFamilyFromName(face.c_str(), nullptr, family.Put()) == Ok;
}

int CALLBACK StopAtFirst(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
  reinterpret_cast<std::vector<std::wstring>*>(faces)->push_back(font->lfFaceName);
  return 1;
}

// GDI lists a face once for each character set it covers: asked for
// GB2312 only, it lists the faces with Chinese glyphs.
LOGFONTW Gb2312Query(const std::wstring& face) {
  LOGFONTW query = {};
  query.lfCharSet = GB2312_CHARSET;
  face.copy(query.lfFaceName, LF_FACESIZE - 1);
  return query;
}

bool HasChineseGlyphs(const std::wstring& face) {
  if (face.size() >= LF_FACESIZE) return false;
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  bool found = false;
  LOGFONTW query = Gb2312Query(face);
  if (dc) EnumFontFamiliesExW(dc.Get(), &query, StopAtFirst, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

std::vector<std::wstring> ChineseFamilies() {
  std::vector<std::wstring> faces;
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  LOGFONTW query = Gb2312Query(std::wstring());
  if (dc) EnumFontFamiliesExW(dc.Get(), &query, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
  return faces;
}

std::wstring MessageFontFace() {
  NONCLIENTMETRICSW metrics = {};
  // The size before Vista added iPaddedBorderWidth: every Windows version
  // accepts it.
  metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return std::wstring();
  return metrics.lfMessageFont.lfFaceName;
}

}  // namespace

const std::wstring& ExFontLookup::Face(const std::wstring& named) {
  const auto known = m_faces.find(named);
  if (known != m_faces.end()) return known->second;
  ExFontProbe probe;
  probe.drawable = GdiplusDraws;
  probe.chinese = HasChineseGlyphs;
  probe.chineseFamilies = [this] {
    if (!m_chineseFamilies) m_chineseFamilies = ChineseFamilies();
    return *m_chineseFamilies;
  };
  probe.messageFace = MessageFontFace;
  return m_faces[named] = ExChooseFontFace(named, probe);
}

UniqueGpFont ExFontLookup::MakeFont(const std::wstring& named, float pixels, int style) {
  const std::wstring& face = Face(named);
  UniqueGpFontFamily family;
  if (!face.empty()) GdipCreateFontFamilyFromName(face.c_str(), nullptr, family.Put());
  GpFontFamily* sansSerif = nullptr;  // shared by GDI+: cloned, never deleted
  if (!family && GdipGetGenericFontFamilySansSerif(&sansSerif) == Ok) GdipCloneFontFamily(sansSerif, family.Put());
  UniqueGpFont font;
  if (family) GdipCreateFont(family.Get(), pixels, style, UnitPixel, font.Put());
  return font;
}
