// ExFontLookup: the framework's one way from a face name to a font that
// exists, and that draws Chinese whenever an installed font can
// (ExFontChoice.h gives the order). Answers are kept per name for the
// framework's lifetime. Owned by the framework; UI thread only.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Handles.h"

class ExFontLookup {
 public:
  // The face text asked for in `named` is drawn with; empty stands for
  // GDI+'s generic sans-serif.
  const std::wstring& Face(const std::wstring& named);
  // A font of the face looked up for `named`, `pixels` high, in `style`
  // (Gdiplus::FontStyle); empty only when GDI+ makes no font at all.
  UniqueGpFont MakeFont(const std::wstring& named, float pixels, int style);

 private:
  std::map<std::wstring, std::wstring> m_faces;
  std::optional<std::vector<std::wstring>> m_chineseFamilies;
};
