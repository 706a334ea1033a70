#include "src/envmap.h"

#include "src/texture.h"
#include "tests/support/gl_fake.h"

#include <gtest/gtest.h>

namespace GL = VARKO::Testing::GL;
using VARKO::EnvMap;
using Texts = std::vector<std::string>;

namespace {

const Texts kGenerationOn = {"glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP)",
                             "glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP)",
                             "glEnable(GL_TEXTURE_GEN_S)", "glEnable(GL_TEXTURE_GEN_T)"};
const Texts kGenerationOff = {"glDisable(GL_TEXTURE_GEN_S)", "glDisable(GL_TEXTURE_GEN_T)"};

Texts Joined(Texts a, const Texts& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

class EnvMapTest : public ::testing::Test {
protected:
    void SetUp() override { GL::Reset(); }
    VARKO::Texture textures;
    EnvMap map;
};

TEST_F(EnvMapTest, WithoutSetupOnAndOffIssueNothing) {
    map.On();
    map.Off();
    EXPECT_TRUE(GL::NoGLCalls());
}

TEST_F(EnvMapTest, OnSetsUpGenerationThenBindsThroughTheTextureManager) {
    map.Setup(7, &textures);
    EXPECT_TRUE(GL::NoGLCalls());
    map.On();
    EXPECT_EQ(GL::CallTexts(), Joined(kGenerationOn, {"glBindTexture(GL_TEXTURE_2D, 7)"}));
    EXPECT_FALSE(GL::Enabled(GL_TEXTURE_2D));
}

TEST_F(EnvMapTest, OnTwiceRepeatsGenerationAndOneOffUndoesIt) {
    map.Setup(7, &textures);
    map.On();
    map.On();
    map.Off();
    map.Off();
    EXPECT_EQ(
        GL::CallTexts(),
        Joined(Joined(Joined(kGenerationOn, {"glBindTexture(GL_TEXTURE_2D, 7)"}), kGenerationOn),
               kGenerationOff));
    EXPECT_FALSE(GL::Enabled(GL_TEXTURE_GEN_S));
    EXPECT_EQ(GL::BoundTexture(), 7u);
}

TEST_F(EnvMapTest, TextureAlreadyBoundByTheManagerIsNotBoundAgain) {
    textures.Set(9);
    GL::ClearLog();
    map.Setup(9, &textures);
    map.On();
    EXPECT_EQ(GL::CallTexts(), kGenerationOn);
}
