// Draws the desktop icon, packaging/metaballs.png: three merging metaballs, lit from the upper
// left with a blue-violet sheen, on a dark rounded square. Run it from the repository root and
// commit the output. The output is the same on every run.

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kSize = 256;
constexpr float kThreshold = 1.0f;

struct Ball {
    float x, y, squaredRadius;
};

const Ball kBalls[] = {{92, 100, 1000}, {168, 96, 650}, {132, 172, 800}};

float Field(float x, float y) {
    float sum = 0;
    for (const Ball& ball : kBalls) {
        float dx = x - ball.x, dy = y - ball.y;
        sum += ball.squaredRadius / (dx * dx + dy * dy + 1.0f);
    }
    return sum;
}

// Coverage of a rounded square with corner radius 48, antialiased over one pixel.
float Backdrop(float x, float y) {
    const float radius = 48, half = kSize / 2.0f - 4;
    float qx = std::max(std::fabs(x - kSize / 2.0f) - (half - radius), 0.0f);
    float qy = std::max(std::fabs(y - kSize / 2.0f) - (half - radius), 0.0f);
    return std::clamp(radius - std::sqrt(qx * qx + qy * qy) + 0.5f, 0.0f, 1.0f);
}

struct Rgb {
    float r, g, b;
};

// The surface seen as a height field of the field: its slope gives a normal for diffuse and
// specular light, and the edge is antialiased by the field's distance from the threshold.
Rgb Shade(float x, float y, float& coverage) {
    float f = Field(x, y);
    float gx = Field(x + 1, y) - Field(x - 1, y), gy = Field(x, y + 1) - Field(x, y - 1);
    float slope = std::sqrt(gx * gx + gy * gy) + 1e-6f;
    coverage = std::clamp((f - kThreshold) / slope * 2.0f + 0.5f, 0.0f, 1.0f);
    float height = std::sqrt(std::clamp(1.0f - kThreshold / f, 0.0f, 1.0f));
    float nx = -gx / slope * (1 - height), ny = -gy / slope * (1 - height), nz = height + 0.2f;
    float length = std::sqrt(nx * nx + ny * ny + nz * nz);
    nx /= length, ny /= length, nz /= length;
    const float lx = -0.5f, ly = -0.6f, lz = 0.62f; // towards the light, upper left
    float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
    float specular = std::pow(std::max(0.0f, 2 * nz * (nx * lx + ny * ly + nz * lz) - lz), 24.0f);
    return {0.18f + 0.45f * diffuse + specular, 0.22f + 0.5f * diffuse + specular,
            0.55f + 0.45f * diffuse + specular};
}

Uint8 Byte(float value) {
    return static_cast<Uint8>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255));
}

} // namespace

int main() {
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, kSize, kSize, 32, SDL_PIXELFORMAT_RGBA32);
    if (!icon) {
        std::fprintf(stderr, "no surface: %s\n", SDL_GetError());
        return 1;
    }
    auto* pixels = static_cast<Uint8*>(icon->pixels);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            float cx = x + 0.5f, cy = y + 0.5f, coverage = 0;
            Rgb ball = Shade(cx, cy, coverage);
            float glow = 0.35f * std::clamp(Field(cx, cy) / kThreshold, 0.0f, 1.0f);
            Rgb back = {0.05f + 0.1f * glow, 0.04f + 0.08f * glow, 0.12f + 0.3f * glow};
            Uint8* out = pixels + y * icon->pitch + x * 4;
            out[0] = Byte(back.r + (ball.r - back.r) * coverage);
            out[1] = Byte(back.g + (ball.g - back.g) * coverage);
            out[2] = Byte(back.b + (ball.b - back.b) * coverage);
            out[3] = Byte(Backdrop(cx, cy));
        }
    }
    int saved = IMG_SavePNG(icon, "packaging/metaballs.png");
    SDL_FreeSurface(icon);
    if (saved != 0) {
        std::fprintf(stderr, "cannot write packaging/metaballs.png: %s\n", IMG_GetError());
        return 1;
    }
    return 0;
}
