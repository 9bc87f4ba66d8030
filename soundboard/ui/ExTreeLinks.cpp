#include "ExTreeLinks.h"

bool ExTreeNode::IsWithin(const ExTreeNode* ancestor) const {
  for (const ExTreeNode* node = this; node != nullptr; node = node->m_parent) {
    if (node == ancestor) return true;
  }
  return false;
}

ExTreeLinks::Chain ExTreeLinks::ChainOf(ExTreeNode* parent) {
  if (parent != nullptr) return {&parent->m_firstChild, &parent->m_lastChild};
  return {&m_first, &m_last};
}

void ExTreeLinks::LinkAtTail(ExTreeNode& node, ExTreeNode* parent) {
  const Chain chain = ChainOf(parent);
  node.m_parent = parent;
  node.m_previous = *chain.last;
  node.m_next = nullptr;
  (node.m_previous != nullptr ? node.m_previous->m_next : *chain.first) = &node;
  *chain.last = &node;
}

void ExTreeLinks::LinkAtHead(ExTreeNode& node, ExTreeNode* parent) {
  const Chain chain = ChainOf(parent);
  node.m_parent = parent;
  node.m_previous = nullptr;
  node.m_next = *chain.first;
  (node.m_next != nullptr ? node.m_next->m_previous : *chain.last) = &node;
  *chain.first = &node;
}

void ExTreeLinks::Unlink(ExTreeNode& node) {
  const Chain chain = ChainOf(node.m_parent);
  (node.m_previous != nullptr ? node.m_previous->m_next : *chain.first) = node.m_next;
  (node.m_next != nullptr ? node.m_next->m_previous : *chain.last) = node.m_previous;
  node.m_previous = nullptr;
  node.m_next = nullptr;
  node.m_parent = nullptr;
}

bool ExTreeLinks::MoveUnder(ExTreeNode& node, ExTreeNode* parent) {
  if (parent != nullptr && parent->IsWithin(&node)) return false;  // would hang the node below itself
  Unlink(node);
  LinkAtTail(node, parent);
  return true;
}

void ExTreeLinks::MoveToTail(ExTreeNode& node) {
  ExTreeNode* parent = node.m_parent;
  Unlink(node);
  LinkAtTail(node, parent);
}

void ExTreeLinks::MoveToHead(ExTreeNode& node) {
  ExTreeNode* parent = node.m_parent;
  Unlink(node);
  LinkAtHead(node, parent);
}

ExTreeNode* ExTreeLinks::Hit(const std::function<bool(const ExTreeNode&)>& hits) const {
  ExTreeNode* found = nullptr;
  for (ExTreeNode* node = m_last; node != nullptr;) {
    if (!hits(*node)) {
      node = node->m_previous;
      continue;
    }
    found = node;
    node = node->m_lastChild;  // a child on top of it may be hit too
  }
  return found;
}
