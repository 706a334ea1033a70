// Display lists, recorded on the processor: each compiled command is kept as a call of the same
// entry point with its arguments copied, and replayed through it. Commands GL executes at once
// even while compiling (glGenLists, glGet*, glPixelStore, glRenderMode, ...) never record.
#include "src/platform/web/gl/context.h"

#include <cstdint>

using namespace VARKO::GLLayer;

GLuint GLAPIENTRY glGenLists(GLsizei range) {
    if (range < 0) {
        SetError(GL_INVALID_VALUE);
        return 0;
    }
    if (range == 0 || !OutsideBeginEnd()) {
        return 0;
    }
    auto& lists = Current().displayLists.lists;
    // The first free run of `range` names above every name in use.
    const GLuint first = lists.empty() ? 1 : lists.rbegin()->first + 1;
    if (first > UINT32_MAX - static_cast<GLuint>(range)) {
        SetError(GL_OUT_OF_MEMORY);
        return 0;
    }
    for (GLuint name = first; name < first + static_cast<GLuint>(range); ++name) {
        lists[name] = std::make_shared<const CommandList>();
    }
    return first;
}

void GLAPIENTRY glNewList(GLuint list, GLenum mode) {
    if (!OutsideBeginEnd()) {
        return;
    }
    DisplayLists& lists = Current().displayLists;
    if (list == 0) {
        SetError(GL_INVALID_VALUE);
    } else if (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE) {
        SetError(GL_INVALID_ENUM);
    } else if (lists.compilingName != 0) {
        SetError(GL_INVALID_OPERATION);
    } else {
        lists.compilingName = list;
        lists.compileMode = mode;
        lists.compiling.clear();
    }
}

void GLAPIENTRY glEndList() {
    if (!OutsideBeginEnd()) {
        return;
    }
    DisplayLists& lists = Current().displayLists;
    if (lists.compilingName == 0) {
        SetError(GL_INVALID_OPERATION);
        return;
    }
    lists.lists[lists.compilingName] =
        std::make_shared<const CommandList>(std::move(lists.compiling));
    lists.compiling.clear();
    lists.compilingName = 0;
}

void GLAPIENTRY glCallList(GLuint list) {
    if (Compiled([=] { glCallList(list); })) {
        return;
    }
    DisplayLists& lists = Current().displayLists;
    const auto found = lists.lists.find(list);
    // GL ignores calls nested deeper than its limit, which also ends a list calling itself.
    if (found == lists.lists.end() || lists.replayDepth >= kMaxListNesting) {
        return;
    }
    // Held here, so that a list deleting itself while it runs stays whole until it ends.
    const std::shared_ptr<const CommandList> commands = found->second;
    ++lists.replayDepth;
    for (const Command& command : *commands) {
        command();
    }
    --lists.replayDepth;
}

static bool ListOffset(GLenum type, const void* lists, GLsizei i, GLuint& offset) {
    switch (type) {
    case GL_UNSIGNED_BYTE:
        offset = static_cast<const GLubyte*>(lists)[i];
        return true;
    case GL_BYTE:
        offset = static_cast<GLuint>(static_cast<const GLbyte*>(lists)[i]);
        return true;
    case GL_UNSIGNED_SHORT:
        offset = static_cast<const GLushort*>(lists)[i];
        return true;
    case GL_SHORT:
        offset = static_cast<GLuint>(static_cast<const GLshort*>(lists)[i]);
        return true;
    case GL_UNSIGNED_INT:
    case GL_INT:
        offset = static_cast<const GLuint*>(lists)[i];
        return true;
    case GL_FLOAT:
        offset = static_cast<GLuint>(static_cast<const GLfloat*>(lists)[i]);
        return true;
    default:
        return false;
    }
}

static std::size_t ListTypeSize(GLenum type) {
    return type == GL_UNSIGNED_BYTE || type == GL_BYTE     ? 1
           : type == GL_UNSIGNED_SHORT || type == GL_SHORT ? 2
                                                           : 4;
}

void GLAPIENTRY glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    GLuint probe = 0;
    if (n < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    if (n > 0 && !ListOffset(type, lists, 0, probe)) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    const auto* bytes = static_cast<const unsigned char*>(lists);
    std::vector<unsigned char> copy(bytes, bytes + n * ListTypeSize(type));
    if (Compiled([=] { glCallLists(n, type, copy.data()); })) {
        return;
    }
    for (GLsizei i = 0; i < n; ++i) {
        GLuint offset = 0;
        ListOffset(type, copy.data(), i, offset);
        glCallList(Current().state.listBase + offset);
    }
}

void GLAPIENTRY glListBase(GLuint base) {
    if (!Compiled([=] { glListBase(base); }) && OutsideBeginEnd()) {
        Current().state.listBase = base;
    }
}

void GLAPIENTRY glDeleteLists(GLuint list, GLsizei range) {
    if (range < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    if (!OutsideBeginEnd()) {
        return;
    }
    auto& lists = Current().displayLists.lists;
    const std::uint64_t end = std::uint64_t{list} + static_cast<std::uint64_t>(range);
    lists.erase(lists.lower_bound(list),
                end > UINT32_MAX ? lists.end() : lists.lower_bound(static_cast<GLuint>(end)));
}

GLboolean GLAPIENTRY glIsList(GLuint list) {
    return Current().displayLists.lists.count(list) != 0 ? GL_TRUE : GL_FALSE;
}
