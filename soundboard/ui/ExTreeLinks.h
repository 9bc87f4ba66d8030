// The links of an element tree: every node sits in one chain (the top-level
// chain or its parent's children), in drawing order, the tail drawn last and
// hit first. Free of Windows headers, so the linking and walking rules are
// tested on plain nodes.
//
// Only ExTreeLinks changes links; a node is linked in at most one tree at a
// time, and the tree does not own its nodes.
#pragma once

#include <functional>

class ExTreeNode {
 public:
  ExTreeNode() = default;
  ExTreeNode(const ExTreeNode&) = delete;
  ExTreeNode& operator=(const ExTreeNode&) = delete;

  ExTreeNode* ParentNode() const { return m_parent; }
  ExTreeNode* FirstChildNode() const { return m_firstChild; }
  ExTreeNode* LastChildNode() const { return m_lastChild; }
  ExTreeNode* PreviousNode() const { return m_previous; }
  ExTreeNode* NextNode() const { return m_next; }
  // True when `ancestor` is this node or lies above it.
  bool IsWithin(const ExTreeNode* ancestor) const;

 private:
  friend class ExTreeLinks;
  ExTreeNode* m_parent = nullptr;
  ExTreeNode* m_firstChild = nullptr;
  ExTreeNode* m_lastChild = nullptr;
  ExTreeNode* m_previous = nullptr;
  ExTreeNode* m_next = nullptr;
};

class ExTreeLinks {
 public:
  ExTreeLinks() = default;
  ExTreeLinks(const ExTreeLinks&) = delete;
  ExTreeLinks& operator=(const ExTreeLinks&) = delete;

  ExTreeNode* First() const { return m_first; }
  ExTreeNode* Last() const { return m_last; }

  // Puts an unlinked node at the tail or the head of `parent`'s children, or
  // of the top-level chain when `parent` is nullptr.
  void LinkAtTail(ExTreeNode& node, ExTreeNode* parent);
  void LinkAtHead(ExTreeNode& node, ExTreeNode* parent);
  // Takes the node (with its subtree) out of its chain.
  void Unlink(ExTreeNode& node);
  // Moves the node to the tail of `parent`'s children (nullptr: the top-level
  // chain); false, changing nothing, when `parent` lies within the node.
  bool MoveUnder(ExTreeNode& node, ExTreeNode* parent);
  // Moves the node within its chain: the tail is drawn on top of the rest.
  void MoveToTail(ExTreeNode& node);
  void MoveToHead(ExTreeNode& node);

  // The node a point hits: chains are searched from the tail, and within the
  // first node that `hits`, its children, deepest first. `hits` decides for
  // a node and its whole subtree. nullptr when nothing is hit.
  ExTreeNode* Hit(const std::function<bool(const ExTreeNode&)>& hits) const;

 private:
  struct Chain {
    ExTreeNode** first;
    ExTreeNode** last;
  };
  Chain ChainOf(ExTreeNode* parent);

  ExTreeNode* m_first = nullptr;
  ExTreeNode* m_last = nullptr;
};
