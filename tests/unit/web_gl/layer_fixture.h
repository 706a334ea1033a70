#pragma once
// A fresh GL layer context over the recording WebGL fake for each test.

#include "src/gl_api.h"
#include "src/platform/web/gl/gl_layer.h"
#include "tests/support/webgl_fake.h"

#include <gtest/gtest.h>

namespace VARKO::Testing {

class WebGLLayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        WebGL::Reset();
        GLLayer::ContextCreated(640, 480);
    }

public:
    static const WebGL::Draw& LastDraw() {
        const auto& draws = WebGL::Draws();
        EXPECT_FALSE(draws.empty());
        static const WebGL::Draw none;
        return draws.empty() ? none : draws.back();
    }

    static std::vector<float> Matrix(GLenum which) {
        std::vector<float> m(16);
        glGetFloatv(which, m.data());
        return m;
    }

    // `count` vertices at x = 0, 1, 2, ..., drawn as `mode`.
    static void DrawAlongX(GLenum mode, int count) {
        glBegin(mode);
        for (int i = 0; i < count; ++i) {
            glVertex3f(static_cast<float>(i), 0, 0);
        }
        glEnd();
    }

    // The x of each vertex the last draw sent, which names the input vertex it came from.
    static std::vector<int> DrawnOrder() {
        std::vector<int> order;
        const WebGL::Draw& draw = LastDraw();
        for (int i = 0; i < draw.VertexCount(); ++i) {
            order.push_back(static_cast<int>(draw.Attribute(i, 0, 1)[0]));
        }
        return order;
    }
};

} // namespace VARKO::Testing
