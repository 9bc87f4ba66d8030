// Pure rules of the framework, tested directly: resize zones, damaged-area
// arithmetic, the move tolerance, minimum sizes and the Tab order.
#include <gtest/gtest.h>

#include <vector>

#include "ExGeometry.h"
#include "ExStyleFlags.h"
#include "ExTabOrder.h"

namespace {

TEST(GeometryTest, EdgeZonesOfA430By320Window) {
  const int w = 430, h = 320;
  EXPECT_EQ(EdgeAt(7, 100, w, h), ExEdge::kLeft);
  EXPECT_EQ(EdgeAt(8, 100, w, h), ExEdge::kNone);
  EXPECT_EQ(EdgeAt(w - 10, 100, w, h), ExEdge::kNone);
  EXPECT_EQ(EdgeAt(w - 9, 100, w, h), ExEdge::kRight);
  EXPECT_EQ(EdgeAt(w - 1, 100, w, h), ExEdge::kRight);
  EXPECT_EQ(EdgeAt(100, 7, w, h), ExEdge::kTop);
  EXPECT_EQ(EdgeAt(100, 8, w, h), ExEdge::kNone);
  EXPECT_EQ(EdgeAt(100, h - 9, w, h), ExEdge::kBottom);
  EXPECT_EQ(EdgeAt(100, h - 10, w, h), ExEdge::kNone);
  // Corners reach 9 pixels along the top and bottom edges.
  EXPECT_EQ(EdgeAt(9, 3, w, h), ExEdge::kTopLeft);
  EXPECT_EQ(EdgeAt(10, 3, w, h), ExEdge::kTop);
  EXPECT_EQ(EdgeAt(w - 5, 3, w, h), ExEdge::kTopRight);
  EXPECT_EQ(EdgeAt(9, h - 3, w, h), ExEdge::kBottomLeft);
  EXPECT_EQ(EdgeAt(w - 5, h - 3, w, h), ExEdge::kBottomRight);
}

TEST(GeometryTest, MoveToleranceIsOneTenMillionth) {
  EXPECT_FALSE(CoordinateChanged(70.0f, 70.0 + 1e-8));
  EXPECT_FALSE(CoordinateChanged(70.0f, 70.0 - 1e-7));
  EXPECT_TRUE(CoordinateChanged(0.0f, 2e-7));
  EXPECT_TRUE(CoordinateChanged(70.0f, 70.5));
}

TEST(GeometryTest, ContainmentIncludesLeftAndTopOnly) {
  const ExRectF rect{10, 20, 70, 30};
  EXPECT_TRUE(RectContains(rect, 10, 20));
  EXPECT_TRUE(RectContains(rect, 10 - 5e-8, 20));
  EXPECT_FALSE(RectContains(rect, 9.9, 20));
  EXPECT_FALSE(RectContains(rect, 80, 30));
  EXPECT_TRUE(RectContains(rect, 79.9, 49.9));
  EXPECT_FALSE(RectContains({0, 0, 0, 0}, 0, 0));
}

TEST(GeometryTest, PixelBoundsCoverFractionalRectangles) {
  EXPECT_EQ(PixelBounds({10.5f, 20.25f, 10, 10}), (ExPixelRect{10, 20, 21, 31}));
  EXPECT_EQ(PixelBounds({-3.5f, 0, 2, 2}), (ExPixelRect{-4, 0, -1, 2}));
  EXPECT_EQ(Intersect({0, 0, 10, 10}, {5, 5, 20, 20}), (ExPixelRect{5, 5, 10, 10}));
  EXPECT_TRUE(Intersect({0, 0, 10, 10}, {10, 0, 20, 10}).IsEmpty());
  EXPECT_EQ(Union({0, 0, 10, 10}, {}), (ExPixelRect{0, 0, 10, 10}));
}

TEST(GeometryTest, MoveDamageMergesOnlyWhenThatIsCheaper) {
  // A small step: one rectangle around both places.
  ExDamage step = DamageOfMove({20, 20, 90, 50}, {22, 20, 92, 50});
  ASSERT_EQ(step.count, 1);
  EXPECT_EQ(step.areas[0], (ExPixelRect{20, 20, 92, 50}));
  // A jump across the window: two separate rectangles.
  ExDamage jump = DamageOfMove({0, 0, 70, 30}, {300, 250, 370, 280});
  ASSERT_EQ(jump.count, 2);
  EXPECT_EQ(jump.areas[1], (ExPixelRect{300, 250, 370, 280}));
  EXPECT_EQ(DamageOfMove({}, {}).count, 0);
  EXPECT_EQ(DamageOfMove({}, {1, 1, 2, 2}).count, 1);
}

TEST(GeometryTest, MaximisedPlacementAndMinimumSizes) {
  EXPECT_EQ(MaximisedPlacement({0, 0, 1280, 994}), (ExPixelRect{-7, -7, 1287, 1001}));
  EXPECT_EQ(MinimumTrackSize(kExAttached).width, 21);
  EXPECT_EQ(MinimumTrackSize(kExAttached).height, 20);
  const ExSize full = MinimumTrackSize(kExAttached | kExWindowIcon | kExTitleText | kExCloseButton | kExMaximiseButton |
                                       kExMinimiseButton);
  EXPECT_EQ(full.width, 28 * 3 + 11 + 35 + 1);
  EXPECT_EQ(full.height, 38);
  EXPECT_EQ(MinimumTrackSize(kExTitleText).width, 36);
}

// A plain tree for the Tab rules.
struct Node {
  bool visible = true;
  bool enabled = true;
  bool interactive = true;
  int type = 0;
  Node* parent = nullptr;
  Node* firstChild = nullptr;
  Node* next = nullptr;
};

struct PlainTree {
  Node* head;
  Node* First() const { return head; }
  Node* FirstChild(Node* node) const { return node->firstChild; }
  Node* Next(Node* node) const { return node->next; }
  Node* Parent(Node* node) const { return node->parent; }
  bool Enterable(Node* node) const { return node->visible && node->enabled; }
  bool Focusable(Node* node) const { return Enterable(node) && node->interactive && node->type != 1; }
};

// Links nodes[i] after nodes[i - 1] under `parent`.
void Chain(std::vector<Node*> nodes, Node* parent = nullptr) {
  for (size_t i = 0; i < nodes.size(); ++i) {
    nodes[i]->parent = parent;
    nodes[i]->next = i + 1 < nodes.size() ? nodes[i + 1] : nullptr;
  }
  if (parent != nullptr && !nodes.empty()) parent->firstChild = nodes[0];
}

TEST(TabOrderTest, VisitsChildrenBeforeTheNextSiblingAndWraps) {
  Node a, panel, caption, b;
  panel.interactive = false;  // a progress body: skipped, its caption is not
  Chain({&a, &panel, &b});
  Chain({&caption}, &panel);
  const PlainTree tree{&a};
  EXPECT_EQ(NextInTabOrder(tree, static_cast<Node*>(nullptr)), &a);
  EXPECT_EQ(NextInTabOrder(tree, &a), &caption);
  EXPECT_EQ(NextInTabOrder(tree, &caption), &b);
  EXPECT_EQ(NextInTabOrder(tree, &b), &a);
}

TEST(TabOrderTest, SkipsHiddenDisabledNonInteractiveAndTypeOne) {
  Node a, hidden, hiddenChild, disabled, passive, typeOne, b;
  hidden.visible = false;
  disabled.enabled = false;
  passive.interactive = false;
  typeOne.type = 1;
  Chain({&a, &hidden, &disabled, &passive, &typeOne, &b});
  Chain({&hiddenChild}, &hidden);  // on a hidden page: out of reach
  const PlainTree tree{&a};
  EXPECT_EQ(NextInTabOrder(tree, &a), &b);
}

TEST(TabOrderTest, EndsWhenNothingCanTakeTheFocus) {
  Node only, passive;
  passive.interactive = false;
  Chain({&passive});
  EXPECT_EQ(NextInTabOrder(PlainTree{&passive}, static_cast<Node*>(nullptr)), nullptr);
  EXPECT_EQ(NextInTabOrder(PlainTree{&passive}, &passive), nullptr);
  Chain({&only});
  EXPECT_EQ(NextInTabOrder(PlainTree{&only}, &only), &only);
  EXPECT_EQ(NextInTabOrder(PlainTree{nullptr}, static_cast<Node*>(nullptr)), nullptr);
}

}  // namespace
