// The PCX decoder on arbitrary files: it must fail silently and leave no buffer.

#include "src/image.h"
#include "tests/fuzz/fuzz_file.h"
#include "tests/support/platform_fake.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    VARKO::Testing::FakePlatform::Reset();
    VARKO::Image image;
    const bool loaded = image.Load(VARKO::Fuzzing::WriteInput(data, size, "pcx").c_str());
    if (loaded != (image.GetImage() != nullptr) ||
        !VARKO::Testing::FakePlatform::Messages().empty()) {
        __builtin_trap();
    }
    return 0;
}
