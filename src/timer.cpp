#include "src/timer.h"

#include "src/platform/platform.h"

namespace VARKO {

Timer::Timer() {
    std::int64_t frequency = Platform::CounterFrequency();
    if (frequency > 0) {
        startCount = Platform::CounterValue();
        performance = true;
        resolution = static_cast<float>(1.0 / static_cast<double>(frequency));
    } else {
        performance = false;
        startMs = Platform::Milliseconds();
        resolution = 0.001f;
    }
}

float Timer::GetTime() const {
    float ticks;
    if (performance) {
        ticks = static_cast<float>(Platform::CounterValue() - startCount);
    } else {
        ticks = static_cast<float>(static_cast<std::uint32_t>(Platform::Milliseconds() - startMs));
    }
    return ticks * resolution * 1000.0f;
}

Frame::Frame() : lastTime(timer.GetTime()) {}

void Frame::Update() {
    float now = timer.GetTime();
    length = now - lastTime;
    if (!(length > 0.0f)) {
        length = 1.0f;
    }
    fps = static_cast<int>(1000.0f / length);
    lastTime = now;
}

} // namespace VARKO
