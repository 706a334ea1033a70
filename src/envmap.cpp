#include "src/envmap.h"

#include "src/texture.h"

#include "src/gl_api.h"

namespace VARKO {

void EnvMap::Setup(unsigned int id, Texture* texture) {
    this->id = id;
    this->texture = texture;
}

void EnvMap::On() {
    if (texture == nullptr) {
        return;
    }
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    texture->Set(id);
    on = true;
}

void EnvMap::Off() {
    if (!on) {
        return;
    }
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    on = false;
}

} // namespace VARKO
