#pragma once
// The owner of the program's OpenGL 2-D textures: mipmapped textures made from picture files
// (loaded once per name) or from images in memory, one record each, found by id or by name.

#include <string>
#include <vector>

namespace VARKO {

class Image;

struct TextureType {
    std::string name = "None";
    int width = 0;
    int height = 0;
    bool alpha = false;
    unsigned int id = 0; // the OpenGL texture name; 0 is never a texture
};

class Texture {
public:
    Texture() = default;
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // The texture of this file, loaded on the first call for the name; 0 when it cannot be loaded.
    unsigned int Load(std::string filename);
    // A new texture from the image's pixels (the image stays the caller's), named LumoImage<id>.
    unsigned int Create(Image* img);
    // Binds texid unless it is the one bound last.
    void Set(unsigned int texid);
    TextureType GetInfo(unsigned int texid);
    TextureType GetInfo(std::string str);
    void Delete(unsigned int texid);
    void Delete(std::string texname);
    void Reset();

private:
    TextureType Upload(const Image& img);
    void DeleteAt(std::vector<TextureType>::iterator record);

    std::vector<TextureType> textures;
    unsigned int current = 0;
};

} // namespace VARKO
