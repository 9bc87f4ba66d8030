// Windows refuses GDI+ calls made before GdiplusStartup, so an element that
// made a GDI+ object at construction would lose it on Windows, silently.
// Wine allows them, so the handle wrappers' count of objects made while GDI+
// is not running is what shows it here.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "ExButton.h"
#include "ExCaptionButton.h"
#include "ExCombo.h"
#include "ExEdit.h"
#include "ExFramework.h"
#include "ExImage.h"
#include "ExImageButton.h"
#include "ExLabel.h"
#include "ExListBox.h"
#include "ExProgress.h"
#include "ExScrollBar.h"
#include "ExSystemButtons.h"
#include "ExTab.h"
#include "GdiplusSession.h"
#include "QuoblyApp.h"
#include "SoundPanel.h"
#include "TestSupport.h"

namespace {

// Closes the program's main window once its opening animation is over (the
// window is no longer layered); a thread timer of the thread running it.
void CALLBACK CloseWhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND window = FindShownWindow(GetCurrentProcessId(), L"Quobly");
  if (window == nullptr || (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0) return;
  KillTimer(nullptr, timer);
  PostMessageW(window, WM_CLOSE, 0, 0);
}

TEST(GdiplusStartTest, TheProgramAndEveryElementMakeNoGdiplusObjectBeforeTheFrameworkStarts) {
  ASSERT_FALSE(GdiplusSession::Running());
  const long before = GdiplusSession::ObjectsOutsideSessions();
  {
    // As the program's entry point does: its objects first, then the framework.
    auto app = std::make_unique<QuoblyApp>();
    ExButton button;
    ExCaptionButton captionButton;
    ExCombo combo;
    ExEdit edit;
    ExImage image;
    ExImageButton imageButton;
    ExLabel label;
    ExListBox list;
    ExProgress progress;
    ExScrollBar scrollBar;
    ExSystemButtons systemButtons;
    ExTab tab;
    SoundPanel panel;
    EXPECT_EQ(GdiplusSession::ObjectsOutsideSessions(), before) << "made at construction";

    ASSERT_TRUE(ExFramework::Startup());
    ASSERT_NE(SetTimer(nullptr, 0, 50, CloseWhenShown), 0u);
    EXPECT_EQ(app->Run(), 0);
    app.reset();
  }
  ExFramework::Shutdown();
  EXPECT_FALSE(GdiplusSession::Running());
  EXPECT_EQ(GdiplusSession::ObjectsOutsideSessions(), before);
}

}  // namespace
