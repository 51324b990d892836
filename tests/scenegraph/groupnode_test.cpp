#include "rendering/scenegraph/groupnode.h"

#include <gmock/gmock.h>

#include "scenegraph/scenetest.h"

namespace {

using namespace SceneTest;

// Only an empty child or a cycle is refused: one subtree may hang under several parents.
TEST(GroupNodeTest, RefusesAnEmptyChildAndAGroupThatWouldContainItself) {
  auto top = newGroup(), shared = newGroup();
  auto bottom = top->add(newGroup())->add(newGroup());
  top->add(shared);
  const struct {
    GroupPtr parent, child;
    bool refused;
  } cases[] = {{top, GroupPtr(), true},
               {top, top, true},
               {bottom, top, true},
               {bottom, shared, false},
               {bottom, shared, false}};
  for (const auto& c : cases) {
    const std::size_t before = c.parent->children.size();
    testing::internal::CaptureStderr();
    EXPECT_EQ(c.parent->add(c.child), c.child);
    EXPECT_THAT(testing::internal::GetCapturedStderr(),
                testing::MatchesRegex(c.refused ? "groupnode.cpp,[0-9]+: .*\n" : ""));
    EXPECT_EQ(c.parent->children.size(), before + (c.refused ? 0 : 1));
  }
}

}  // namespace
