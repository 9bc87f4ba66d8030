// The element tree's links on plain nodes: chains stay consistent in both
// directions through every change, a node cannot be hung below itself, and
// the hit walk finds the topmost, deepest node.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ExTreeLinks.h"

namespace {

struct Node : ExTreeNode {
  explicit Node(int id = 0) : id(id) {}
  int id;
  bool hit = false;
};

int IdOf(const ExTreeNode* node) {
  return node != nullptr ? static_cast<const Node*>(node)->id : 0;
}

// The chain read forwards, checked against the same chain read backwards and
// against every node's parent.
std::vector<int> Chain(const ExTreeNode* first, const ExTreeNode* last, const ExTreeNode* parent) {
  std::vector<int> forwards;
  for (const ExTreeNode* node = first; node != nullptr; node = node->NextNode()) {
    EXPECT_EQ(node->ParentNode(), parent) << IdOf(node);
    forwards.push_back(IdOf(node));
  }
  std::vector<int> backwards;
  for (const ExTreeNode* node = last; node != nullptr; node = node->PreviousNode()) {
    backwards.insert(backwards.begin(), IdOf(node));
  }
  EXPECT_EQ(forwards, backwards);
  return forwards;
}

std::vector<int> TopLevel(const ExTreeLinks& links) {
  return Chain(links.First(), links.Last(), nullptr);
}

std::vector<int> Children(const ExTreeNode& parent) {
  return Chain(parent.FirstChildNode(), parent.LastChildNode(), &parent);
}

TEST(TreeLinksTest, ChainsStayConsistentThroughLinkingMovingAndUnlinking) {
  ExTreeLinks links;
  Node a(1), b(2), c(3), child(4);
  links.LinkAtTail(a, nullptr);
  links.LinkAtTail(b, nullptr);
  links.LinkAtHead(c, nullptr);
  links.LinkAtTail(child, &b);
  EXPECT_EQ(TopLevel(links), (std::vector<int>{3, 1, 2}));
  EXPECT_EQ(Children(b), std::vector<int>{4});

  links.MoveToTail(c);
  EXPECT_EQ(TopLevel(links), (std::vector<int>{1, 2, 3}));
  links.MoveToHead(b);  // takes its child along
  EXPECT_EQ(TopLevel(links), (std::vector<int>{2, 1, 3}));
  EXPECT_EQ(Children(b), std::vector<int>{4});

  links.Unlink(a);  // from the middle
  EXPECT_EQ(TopLevel(links), (std::vector<int>{2, 3}));
  EXPECT_EQ(a.NextNode(), nullptr);
  EXPECT_EQ(a.PreviousNode(), nullptr);
  links.Unlink(b);  // the head
  links.Unlink(c);  // the tail, and the last one
  EXPECT_EQ(links.First(), nullptr);
  EXPECT_EQ(links.Last(), nullptr);

  links.Unlink(child);  // the only child
  EXPECT_EQ(b.FirstChildNode(), nullptr);
  EXPECT_EQ(b.LastChildNode(), nullptr);
}

TEST(TreeLinksTest, ANodeMovesUnderAnotherButNeverBelowItself) {
  ExTreeLinks links;
  Node page(1), group(2), box(3), other(4);
  links.LinkAtTail(page, nullptr);
  links.LinkAtTail(other, nullptr);
  links.LinkAtTail(group, &page);
  links.LinkAtTail(box, &group);
  EXPECT_TRUE(box.IsWithin(&page));
  EXPECT_TRUE(box.IsWithin(&box));
  EXPECT_FALSE(page.IsWithin(&box));

  EXPECT_FALSE(links.MoveUnder(page, &box));
  EXPECT_FALSE(links.MoveUnder(page, &page));
  EXPECT_EQ(TopLevel(links), (std::vector<int>{1, 4}));  // nothing changed
  EXPECT_EQ(Children(group), std::vector<int>{3});

  EXPECT_TRUE(links.MoveUnder(group, &other));
  EXPECT_EQ(Children(page), std::vector<int>{});
  EXPECT_EQ(Children(other), std::vector<int>{2});
  EXPECT_TRUE(box.IsWithin(&other));
  EXPECT_TRUE(links.MoveUnder(box, nullptr));
  EXPECT_EQ(TopLevel(links), (std::vector<int>{1, 4, 3}));
}

TEST(TreeLinksTest, HitFindsTheTopmostNodeThenItsTopmostDeepestChild) {
  ExTreeLinks links;
  Node below(1), above(2), child(3), grandchild(4), lowerChild(5);
  links.LinkAtTail(below, nullptr);
  links.LinkAtTail(above, nullptr);
  links.LinkAtTail(child, &above);
  links.LinkAtTail(grandchild, &child);
  links.LinkAtTail(lowerChild, &below);
  const auto hits = [](const ExTreeNode& node) { return static_cast<const Node&>(node).hit; };

  EXPECT_EQ(links.Hit(hits), nullptr);
  below.hit = lowerChild.hit = true;
  EXPECT_EQ(IdOf(links.Hit(hits)), 5);
  above.hit = true;  // drawn later: it wins, though below has a hit child
  EXPECT_EQ(IdOf(links.Hit(hits)), 2);
  grandchild.hit = true;  // a miss on the child hides its whole subtree
  EXPECT_EQ(IdOf(links.Hit(hits)), 2);
  child.hit = true;
  EXPECT_EQ(IdOf(links.Hit(hits)), 4);
}

}  // namespace
