#pragma once
#include <cstdint>

namespace VARKO {

// Milliseconds since construction as a float, from the high-resolution counter when the system
// has one, else from the coarser millisecond clock.
class Timer {
public:
    Timer();
    float GetTime() const;

    bool performance = false;
    float resolution = 0.0f; // seconds per tick
    std::uint32_t startMs = 0;
    std::int64_t startCount = 0;
};

// Length and frames-per-second figure of the last frame.
class Frame {
public:
    Frame();
    void Update();
    int GetFPS() const { return fps; }
    float GetLength() const { return length; }

    Timer timer;
    float lastTime = 0.0f;
    int fps = 0;
    float length = 0.0f;
};

} // namespace VARKO
