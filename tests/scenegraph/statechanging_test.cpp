#include "rendering/scenegraph/statechanging.h"

#include <gtest/gtest.h>

namespace {

TEST(StateChangingTest, NamesAShaderThatIsNotLoadedYet) {
  Rendering::Scenegraph::StateChanging state("texLightSM");
  ASSERT_TRUE(state.shader);
  EXPECT_EQ(state.shader->name, "texLightSM");
  EXPECT_FALSE(state.shader->loaded);
  EXPECT_TRUE(state.shader->vertexSource.empty());
  EXPECT_TRUE(state.shader->fragmentSource.empty());
}

TEST(StateChangingTest, EachStateHasAShaderOfItsOwn) {
  Rendering::Scenegraph::StateChanging a("same"), b("same");
  EXPECT_NE(a.shader, b.shader);
}

}  // namespace
