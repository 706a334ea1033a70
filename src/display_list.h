#pragma once
#include <vector>

namespace VARKO {

// Owns the GL display lists it opens: records them one at a time, replays any list by name and
// deletes its own lists on Clear and on destruction.
class DisplayList {
public:
    DisplayList() = default;
    ~DisplayList();
    // Copies would delete the same lists twice.
    DisplayList(const DisplayList&) = delete;
    DisplayList& operator=(const DisplayList&) = delete;

    // Opens a new list for recording and returns its name; 0 when GL has no name to give.
    unsigned int Start();
    void End();
    void Execute(unsigned int list);
    void Clear();

private:
    std::vector<unsigned int> lists;
};

} // namespace VARKO
