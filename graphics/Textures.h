// The two handle tables behind the textures and images family. Internal: the C interface sees
// only the int indices; tests look at the slots directly.
#pragma once

#include <GL/gl.h>

#include <vector>

#include "HandleTable.h"
#include "PictureDecoder.h"

namespace graphics {

inline constexpr int kTextureTableSize = 8192;
inline constexpr int kImageTableSize = 8192;

// All bits set: the name a slot holds while it holds no texture.
inline constexpr GLuint kNoTextureName = ~GLuint{0};

struct TextureSlot {
    bool Free = true;
    GLuint GlName = kNoTextureName;  // 0 when a load found no readable picture
};

struct ImageRecord {
    bool Free = true;
    int Width = 0;
    int Height = 0;
    int Channels = 0;    // the file's own channel count; Pixels has three channels regardless
    PixelBuffer Pixels;  // R, G, B; bottom row first
    std::vector<unsigned char> Rgba;  // R, G, B, A; same order; drawn, keyed and uploaded
};

extern HandleTable<TextureSlot, kTextureTableSize> textureTable;
extern HandleTable<ImageRecord, kImageTableSize> imageTable;

}  // namespace graphics
