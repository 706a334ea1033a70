// The TGA decoder on arbitrary files: it must fail cleanly, with one message and no buffer.

#include "src/image.h"
#include "tests/fuzz/fuzz_file.h"
#include "tests/support/platform_fake.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    VARKO::Testing::FakePlatform::Reset();
    VARKO::Image image;
    const bool loaded = image.Load(VARKO::Fuzzing::WriteInput(data, size, "tga").c_str());
    const std::size_t messages = VARKO::Testing::FakePlatform::Messages().size();
    if (loaded != (image.GetImage() != nullptr) || messages != (loaded ? 0u : 1u)) {
        __builtin_trap();
    }
    return 0;
}
