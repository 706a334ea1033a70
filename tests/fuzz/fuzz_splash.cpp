// The launcher's reading of splash.cfg from any bytes, checked against a plain reading of the same
// words: the file is taken exactly when its first two words are paths of at most 63 characters and
// the next 32 are decimal integers (optional sign) that fit 32 bits, and then the eight rectangles
// hold those integers. No bitmap exists here, so an accepted file still fails at the bitmaps.

#include "app/launcher.h"
#include "tests/fuzz/fuzz_file.h"
#include "tests/support/platform_fake.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMaxWord = 63;

std::vector<std::string> Words(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words;
    std::string word;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i == size || std::isspace(data[i])) {
            if (!word.empty()) {
                words.push_back(word);
            }
            word.clear();
        } else {
            word.push_back(static_cast<char>(data[i]));
        }
    }
    return words;
}

bool ReferenceInteger(const std::string& word, std::int32_t& value) {
    std::size_t at = word.size() > 0 && (word[0] == '+' || word[0] == '-') ? 1 : 0;
    if (at == word.size()) {
        return false;
    }
    std::int64_t magnitude = 0;
    for (std::size_t i = at; i < word.size(); ++i) {
        if (word[i] < '0' || word[i] > '9') {
            return false;
        }
        magnitude = magnitude * 10 + (word[i] - '0');
        if (magnitude > std::int64_t{1} << 32) {
            return false;
        }
    }
    const std::int64_t signed_value = word[0] == '-' ? -magnitude : magnitude;
    if (signed_value < std::numeric_limits<std::int32_t>::min() ||
        signed_value > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    value = static_cast<std::int32_t>(signed_value);
    return true;
}

// The 32 integers when the words make a valid file.
bool ReferenceRead(const std::vector<std::string>& words, std::vector<std::int32_t>& numbers) {
    constexpr std::size_t kNeeded = 2 + 4 * VARKO::kSplashButtonCount;
    for (std::size_t i = 0; i < words.size() && i < kNeeded; ++i) {
        if (words[i].size() > kMaxWord) {
            return false;
        }
    }
    if (words.size() < kNeeded) {
        return false;
    }
    for (std::size_t i = 2; i < kNeeded; ++i) {
        std::int32_t value = 0;
        if (!ReferenceInteger(words[i], value)) {
            return false;
        }
        numbers.push_back(value);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace Fake = VARKO::Testing::FakePlatform;
    Fake::Reset();
    const std::string path = VARKO::Fuzzing::WriteInput(data, size, "cfg");
    int res = -1, depth = -1;
    bool full = false;
    if (VARKO::DoSplash(path.c_str(), res, depth, full) || res != -1 || depth != -1 ||
        Fake::LiveWindowCount() != 0 || Fake::LiveBitmapCount() != 0) {
        __builtin_trap();
    }
    std::vector<std::int32_t> numbers;
    const bool valid = ReferenceRead(Words(data, size), numbers);
    const bool accepted = Fake::CountLog("LoadBitmapFile") == 2;
    if (valid != accepted) {
        __builtin_trap();
    }
    for (std::size_t i = 0; valid && i < numbers.size(); ++i) {
        const VARKO::Button& button = VARKO::buttons[i / 4];
        const int edges[4] = {button.left, button.top, button.right, button.bottom};
        if (edges[i % 4] != numbers[i]) {
            __builtin_trap();
        }
    }
    return 0;
}
