// ExCombo: a drop-down box. An inner edit box shows the current item; a
// press opens the list in a popup window of its own (below the combo, or
// above it near the bottom of the work area) and waits there in a nested
// message loop. Picking a row makes it the current item and calls the
// selection-changed handler with its index; closing the list any other way
// changes nothing.
//
// Items count from 1; index 0 means none. Calls belong to the UI thread. The
// object may be destroyed by a handler while its list is open.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ExEdit.h"
#include "ExElement.h"

constexpr int kExComboTypeCode = 15;

enum class ExDropStyle { kEditable = 0, kPickOnly = 1 };

struct ExComboOptions {
  std::string text;  // ANSI
  std::vector<std::string> items;
  std::wstring fontFamily;  // empty: the framework's default font
  float fontSize = 12.0f;
  int fontStyle = 0;
  Gdiplus::ARGB textColour = 0xD2000000;
  bool visible = true;
  ExDropStyle dropStyle = ExDropStyle::kPickOnly;
  // The field's look, for combos over dark or light backgrounds.
  Gdiplus::ARGB fieldColour = 0xA0FFFFFF;
  Gdiplus::ARGB frameColour = 0x50000000;
  // The rows of the open list (drawn on white); default: the text colour.
  std::optional<Gdiplus::ARGB> listTextColour;
};

class ExCombo;

// The combo's text field. In a pick-only combo it takes presses without the
// focus and hands them to the combo, which opens its list.
class ExComboEdit : public ExEdit {
 public:
  explicit ExComboEdit(ExCombo& combo) : m_combo(combo) {}

 protected:
  LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  ExCombo& m_combo;
};

class ExCombo : public ExElement {
 public:
  ExCombo();
  ~ExCombo() override;

  ExHandle Create(HWND parent, const ExRectF& rect, const ExComboOptions& options = {});

  // Appends an item with an application value; returns its index.
  int AddItem(const std::string& text, intptr_t value = 0);
  int ItemCount() const { return static_cast<int>(m_items.size()); }
  // "" and 0 for an index out of range.
  std::string ItemText(int index) const;
  intptr_t ItemValue(int index) const;
  int CurrentIndex() const { return m_current; }
  // A valid index becomes current and its text is shown; others change nothing.
  void SetCurrentIndex(int index);
  std::string Text() const { return m_edit.Text(); }
  // Shows `text` in the field in place of the current item's, which stays
  // current: for a state no item names.
  void ShowText(const std::string& text) { m_edit.SetText(text); }

  // The drop-button picture: two frames side by side, closed and open.
  bool SetArrowImage(const void* bytes, size_t size);

  void OnSelectionChanged(std::function<void(int index)> handler) { m_onSelectionChanged = std::move(handler); }
  void OnBeforeOpen(std::function<void()> handler) { m_onBeforeOpen = std::move(handler); }
  void OnAfterClose(std::function<void()> handler) { m_onAfterClose = std::move(handler); }

  // Opens the list and returns when it has closed. Does nothing while open.
  void DropDown();
  bool IsOpen() const { return m_open; }
  // The open list's window, or nullptr.
  HWND DropDownWindow() const { return m_dropDown; }

 protected:
  LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class ExComboEdit;
  ExRectF FieldRect() const;  // the inner edit's place
  ExPixelRect ScreenRect() const;
  void Paint();

  ExComboEdit m_edit{*this};
  std::vector<std::string> m_items;
  std::vector<intptr_t> m_values;
  int m_current = 0;
  ExDropStyle m_dropStyle = ExDropStyle::kPickOnly;
  Gdiplus::ARGB m_textColour = 0xD2000000;
  Gdiplus::ARGB m_listTextColour = 0xD2000000;
  Gdiplus::ARGB m_fieldColour = 0xA0FFFFFF;
  Gdiplus::ARGB m_frameColour = 0x50000000;
  UniqueGpBitmap m_arrowImage;
  bool m_open = false;
  HWND m_dropDown = nullptr;
  std::function<void(int)> m_onSelectionChanged;
  std::function<void()> m_onBeforeOpen;
  std::function<void()> m_onAfterClose;
  std::shared_ptr<bool> m_alive;  // false once the object is gone; checked after the nested loop
};
