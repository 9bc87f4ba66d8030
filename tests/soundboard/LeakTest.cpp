// Creating and destroying hosts full of elements gives back every GDI and
// USER object, and the memory of every bitmap and surface.
#include <memory>
#include <vector>

#include "FrameworkFixture.h"
#include "GuiObjectCheck.h"

namespace {

class LeakTest : public FrameworkTest {};

void BuildAndDestroyHost() {
  ExHost host;
  HWND window = ExCreateWindow({});
  ASSERT_TRUE(host.Attach(window, nullptr, 0));
  std::vector<std::unique_ptr<SolidElement>> elements;
  for (int i = 0; i < 200; ++i) {
    elements.push_back(std::make_unique<SolidElement>());
    const float x = static_cast<float>(i % 5 * 80 + 10);
    const float y = static_cast<float>(i / 5 % 8 * 30);
    const ExHandle parent = i % 2 == 1 ? elements[i - 1]->Handle() : 0;
    if (parent != 0) {
      elements.back()->Create(parent, {x, y, 70, 30});
    } else {
      elements.back()->Create(window, {x, y, 70, 30});
    }
    if (i % 10 == 0) elements.back()->SetOpacity(100);
  }
  SendMessageW(window, WM_MOUSEMOVE, 0, Point(20, 10));
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 10));  // a press left open
  DestroyWindow(window);
}

TEST_F(LeakTest, HundredHostsWithTwoHundredElementsLeaveNoGuiObjects) {
  BuildAndDestroyHost();  // first use creates caches (fonts, DCs) that stay
  const ProcessResources before = MeasureProcess(GetCurrentProcess(), GetCurrentProcessId());
  const SIZE_T memoryBefore = PrivateBytes();
  for (int i = 0; i < 100; ++i) BuildAndDestroyHost();
  ExpectGuiObjectsWithin(before, MeasureProcess(GetCurrentProcess(), GetCurrentProcessId()), 0);
  // Also where GDI objects are not counted: a leaked surface is about 0.5 MB
  // a host, element bitmaps 1.7 MB.
  EXPECT_LT(PrivateBytes(), memoryBefore + 8 * 1024 * 1024);
}

}  // namespace
