#include "src/display_list.h"

#include "src/gl_api.h"

namespace VARKO {

DisplayList::~DisplayList() {
    Clear();
}

unsigned int DisplayList::Start() {
    const GLuint name = glGenLists(1);
    if (name == 0) {
        return 0;
    }
    glNewList(name, GL_COMPILE);
    lists.push_back(name);
    return name;
}

void DisplayList::End() {
    glEndList();
}

// Any name works, not only this object's own lists.
void DisplayList::Execute(unsigned int list) {
    glCallList(list);
}

void DisplayList::Clear() {
    for (unsigned int name : lists) {
        glDeleteLists(name, 1);
    }
    lists.clear();
}

} // namespace VARKO
