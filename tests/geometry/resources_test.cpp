#include <gtest/gtest.h>

#include "data/geometry/light.h"
#include "data/geometry/material.h"
#include "data/geometry/shader.h"
#include "data/geometry/texture.h"

namespace {

using Data::Geometry::Color;

void expectColor(const Color& c, float r, float g, float b, float a) {
  EXPECT_EQ(r, c.r);
  EXPECT_EQ(g, c.g);
  EXPECT_EQ(b, c.b);
  EXPECT_EQ(a, c.a);
}

TEST(ResourcesTest, DefaultMaterialIsOpaqueBlackWithoutTexture) {
  const Data::Geometry::Material m;
  EXPECT_TRUE(m.name.empty());
  expectColor(m.ambient, 0, 0, 0, 1);
  expectColor(m.diffuse, 0, 0, 0, 1);
  expectColor(m.specular, 0, 0, 0, 1);
  expectColor(m.emission, 0, 0, 0, 1);
  EXPECT_EQ(0.0f, m.shininess);
  EXPECT_FALSE(m.texture);
}

TEST(ResourcesTest, DefaultLightIsFullWhite) {
  const Data::Geometry::Light l;
  expectColor(l.ambient, 1, 1, 1, 1);
  expectColor(l.diffuse, 1, 1, 1, 1);
  expectColor(l.specular, 1, 1, 1, 1);
  EXPECT_FALSE(l.flag);
}

TEST(ResourcesTest, NewTextureIsEmptyNotUploadedAndZeroSized) {
  const Data::Geometry::Texture t;
  EXPECT_TRUE(t.name.empty());
  EXPECT_FALSE(t.data);
  EXPECT_FALSE(t.uploaded);
  EXPECT_EQ(0, t.width);
  EXPECT_EQ(0, t.height);
  EXPECT_EQ(0u, t.glName);
}

TEST(ResourcesTest, ShaderFromNameHasNoSourcesAndIsNotLoaded) {
  const Data::Geometry::Shader s("texLight");
  EXPECT_EQ("texLight", s.name);
  EXPECT_TRUE(s.vertexSource.empty());
  EXPECT_TRUE(s.fragmentSource.empty());
  EXPECT_FALSE(s.loaded);
  EXPECT_EQ(0u, s.program);
}

}  // namespace
