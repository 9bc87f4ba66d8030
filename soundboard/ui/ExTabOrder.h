// Which element Tab moves the focus to. Header-only and free of Windows
// headers: the tree is reached through a small accessor type, so the rules are
// tested on a plain tree.
#pragma once

// `Tree` provides, for a node pointer `n` (nullptr = none):
//   First()          head of the top-level chain
//   FirstChild(n)    Next(n)    Parent(n)
//   Enterable(n)     the node and its subtree take part (shown and enabled)
//   Focusable(n)     the node itself may take the focus
template <typename Tree, typename Node>
Node* NextInPreOrder(const Tree& tree, Node* node) {
  if (node == nullptr) return tree.First();
  if (tree.Enterable(node) && tree.FirstChild(node) != nullptr) return tree.FirstChild(node);
  for (; node != nullptr; node = tree.Parent(node)) {
    if (tree.Next(node) != nullptr) return tree.Next(node);
  }
  return nullptr;  // past the end of the host chain
}

// The element after `current` in chain order, children before the next
// sibling, wrapping from the end to the head; nullptr when no element may take
// the focus. Hidden or disabled elements are passed over with their whole
// subtree: a child of a hidden page is not reachable by Tab.
template <typename Tree, typename Node>
Node* NextInTabOrder(const Tree& tree, Node* current) {
  Node* node = current;
  bool wrapped = false;
  for (;;) {
    node = NextInPreOrder(tree, node);
    if (node == nullptr) {
      if (wrapped) return nullptr;  // a whole lap found nothing
      wrapped = true;
      continue;
    }
    if (node == current) return tree.Focusable(node) ? node : nullptr;
    if (tree.Focusable(node)) return node;
  }
}
