#include "rendering/scenegraph/groupnode.h"

#include <boost/make_shared.hpp>
#include <iostream>
#include <unordered_set>

#include "rendering/scenegraph/basevisitor.h"
#include "rendering/scenegraph/leafnode.h"
#include "system/log.h"

namespace Rendering::Scenegraph {

namespace {

// Depth first over the groups below root, each group looked at once however many paths
// lead to it, so a widely shared graph costs no more than its size.
bool containsGroup(const GroupNode& root, const GroupNode* wanted) {
  std::unordered_set<const GroupNode*> seen;
  std::vector<const GroupNode*> pending{&root};
  while (!pending.empty()) {
    const GroupNode* group = pending.back();
    pending.pop_back();
    if (group == wanted) return true;
    if (!seen.insert(group).second) continue;
    for (const NodeHandle& child : group->children) {
      const auto* sub = boost::get<boost::shared_ptr<GroupNode>>(&child);
      if (sub && *sub) pending.push_back(sub->get());
    }
  }
  return false;
}

}  // namespace

boost::shared_ptr<GroupNode> GroupNode::add(boost::shared_ptr<GroupNode> child) {
  if (!child) {
    std::cerr << LOG_PREFIX << "GroupNode::add: refused an empty child" << std::endl;
    return child;
  }
  // A cycle would send every traversal into endless recursion.
  if (containsGroup(*child, this)) {
    std::cerr << LOG_PREFIX << "GroupNode::add: refused a child that contains this group"
              << std::endl;
    return child;
  }
  children.push_back(child);
  return child;
}

boost::shared_ptr<LeafNode> GroupNode::add(const boost::shared_ptr<Data::Geometry::Mesh>& mesh) {
  auto leaf = boost::make_shared<LeafNode>(mesh);
  children.push_back(leaf);
  return leaf;
}

boost::shared_ptr<LeafNode> GroupNode::add(const boost::shared_ptr<Data::Geometry::Light>& light) {
  auto leaf = boost::make_shared<LeafNode>(light);
  children.push_back(leaf);
  return leaf;
}

boost::shared_ptr<LeafNode> GroupNode::add(const boost::shared_ptr<Rendering::Camera>& camera) {
  auto leaf = boost::make_shared<LeafNode>(camera);
  children.push_back(leaf);
  return leaf;
}

void GroupNode::visitChildren(BaseVisitor& visitor) {
  // By index and by copy: a visitor that appends a child or drops the last handle to one
  // must not leave this loop on a dangling element.
  for (std::size_t i = 0; i < children.size(); ++i) {
    NodeHandle child = children[i];
    boost::apply_visitor(visitor, child);
  }
}

}  // namespace Rendering::Scenegraph
