// Draws the demo's two run-time pictures and writes them as JPEG files:
//   data/Reflect.jpg  the sphere map reflected in the metaball surface: a studio of a blue sky
//                     dome, a warm horizon, a dark floor and a few soft lamps, seen in a mirror ball;
//   data/bg.jpg       the backdrop: a dark, softly clouded violet field with faint stars.
// Run it from the repository root and commit both outputs. The output is the same on every run.

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace {

struct Colour {
    float r, g, b;
};

Colour Mix(Colour a, Colour b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Add(Colour a, Colour b, float weight) {
    return {a.r + b.r * weight, a.g + b.g * weight, a.b + b.b * weight};
}

// Smooth value noise on an integer lattice, from a fixed hash so that every run is identical.
float Hash(int x, int y) {
    std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return float((h ^ (h >> 16)) & 0xFFFFFF) / float(0xFFFFFF);
}

float ValueNoise(float x, float y) {
    int ix = int(std::floor(x));
    int iy = int(std::floor(y));
    float fx = x - float(ix);
    float fy = y - float(iy);
    float sx = fx * fx * (3 - 2 * fx);
    float sy = fy * fy * (3 - 2 * fy);
    float top = Hash(ix, iy) + (Hash(ix + 1, iy) - Hash(ix, iy)) * sx;
    float bottom = Hash(ix, iy + 1) + (Hash(ix + 1, iy + 1) - Hash(ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

float Clouds(float x, float y) {
    float sum = 0, amplitude = 0.5f;
    for (int octave = 0; octave < 5; ++octave) {
        sum += amplitude * ValueNoise(x, y);
        x *= 2.03f;
        y *= 2.03f;
        amplitude *= 0.5f;
    }
    return sum;
}

// What the studio looks like in direction (x, y, z), y up.
Colour Studio(float x, float y, float z) {
    const Colour zenith{0.10f, 0.22f, 0.55f}, horizon{0.95f, 0.78f, 0.62f};
    const Colour floorNear{0.10f, 0.08f, 0.12f}, floorFar{0.35f, 0.30f, 0.32f};
    Colour colour = y >= 0 ? Mix(horizon, zenith, std::pow(y, 0.6f))
                           : Mix(floorFar, floorNear, std::pow(-y, 0.5f));
    colour = Add(colour, {0.9f, 0.9f, 1.0f}, 0.25f * Clouds(x * 3 + 7, z * 3 + 11) * (y > 0));
    const float lamps[][3] = {{-0.5f, 0.7f, 0.5f}, {0.6f, 0.5f, 0.6f}, {0.0f, 0.3f, -0.95f}};
    for (const auto& lamp : lamps) {
        float length = std::sqrt(lamp[0] * lamp[0] + lamp[1] * lamp[1] + lamp[2] * lamp[2]);
        float facing = (x * lamp[0] + y * lamp[1] + z * lamp[2]) / length;
        colour = Add(colour, {1.0f, 0.97f, 0.9f}, std::pow(std::max(facing, 0.0f), 60.0f) * 1.5f);
    }
    return colour;
}

// A sphere map: the studio as a mirror ball shows it to a viewer looking along -z.
Colour SphereMapTexel(float s, float t) {
    float u = s * 2 - 1, v = t * 2 - 1;
    float r2 = u * u + v * v;
    if (r2 > 1) {
        return Studio(0, -1, 0);
    }
    float nz = std::sqrt(1 - r2);
    // Reflect the view direction (0, 0, -1) about the normal (u, v, nz).
    return Studio(2 * nz * u, 2 * nz * v, 2 * nz * nz - 1);
}

Colour BackdropTexel(float s, float t) {
    const Colour deep{0.03f, 0.02f, 0.08f}, glow{0.30f, 0.16f, 0.45f}, rim{0.10f, 0.30f, 0.50f};
    float cloud = Clouds(s * 4, t * 4);
    Colour colour = Mix(deep, glow, std::pow(cloud, 2.2f) * 1.6f);
    colour = Mix(colour, rim, 0.5f * std::pow(Clouds(s * 3 + 5, t * 3 + 2), 3.0f));
    float star = Hash(int(s * 512), int(t * 512));
    if (star > 0.997f) {
        colour = Add(colour, {1, 1, 1}, (star - 0.997f) * 250);
    }
    return colour;
}

Uint8 ToByte(float value) {
    return Uint8(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

bool WritePicture(const char* path, int size, const std::function<Colour(float, float)>& texel) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, size, size, 24, SDL_PIXELFORMAT_RGB24);
    if (!surface) {
        return false;
    }
    for (int y = 0; y < size; ++y) {
        auto* row = static_cast<Uint8*>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < size; ++x) {
            // Image rows run top-down, texture t bottom-up.
            Colour c = texel((float(x) + 0.5f) / float(size), 1 - (float(y) + 0.5f) / float(size));
            row[3 * x] = ToByte(c.r);
            row[3 * x + 1] = ToByte(c.g);
            row[3 * x + 2] = ToByte(c.b);
        }
    }
    bool saved = IMG_SaveJPG(surface, path, 90) == 0;
    SDL_FreeSurface(surface);
    return saved;
}

} // namespace

int main() {
    bool ok = WritePicture("data/Reflect.jpg", 256, SphereMapTexel) &&
              WritePicture("data/bg.jpg", 512, BackdropTexel);
    if (!ok) {
        std::fprintf(stderr, "cannot write the pictures into data/: %s\n", SDL_GetError());
        return 1;
    }
    std::puts("wrote data/Reflect.jpg and data/bg.jpg");
    return 0;
}
