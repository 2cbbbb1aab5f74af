// Textures and images: pictures loaded from files, either straight into OpenGL textures or into
// images kept in memory, then bound, drawn as a textured rectangle, drawn at a raster position,
// colour-keyed, turned into textures and deleted. The C program sees only indices into two fixed
// tables; loaders take the lowest free slot and give -1 when the table is full. Files whose
// extension is exactly rgb, RGB, rgba or RGBA go through the library's own SGI reader and become
// mipmapped textures; everything else is decoded as three-channel pixels (PictureDecoder). A path
// is opened once, without blocking, and only a regular file is read. A load that fails still
// gives its handle, so the reason goes to standard error; so does a warning when one path is
// loaded again and again while its earlier handles are in use.
//
// Conventions: images keep their rows bottom row first, so DrawImage puts the picture upright
// with its bottom-left pixel at the raster position. Texturing is never switched on or off here
// (that is EnableTexturing/DisableTexturing); the loaders and DrawTexturedRectangle leave their
// texture bound, DrawImage leaves its pixel zoom set. Handles inside the tables are trusted as
// they come; handles outside them are ignored so that a stray value cannot reach other memory.
#include "Textures.h"

#include <GL/glu.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "Graphics.h"
#include "LoadReports.h"
#include "Platform.h"
#include "RegularFile.h"
#include "SgiImage.h"

namespace graphics {

HandleTable<TextureSlot, kTextureTableSize> textureTable;
HandleTable<ImageRecord, kImageTableSize> imageTable;

namespace {

RepeatedLoadWatch textureLoads("textures", kTextureTableSize);
RepeatedLoadWatch imageLoads("images", kImageTableSize);

// The text after the last dot anywhere in the path, directory names included.
std::string_view Extension(const char *path) {
    const char *dot = path ? std::strrchr(path, '.') : nullptr;
    return dot ? std::string_view(dot + 1) : std::string_view();
}

bool IsSgiExtension(std::string_view extension) {
    return extension == "rgb" || extension == "RGB" || extension == "rgba" || extension == "RGBA";
}

GLint SgiInternalFormat(int components) {
    switch (components) {
        case 1:
            return GL_LUMINANCE;
        case 2:
            return GL_LUMINANCE_ALPHA;
        case 3:
            return GL_RGB;
        default:
            return GL_RGBA;
    }
}

GLuint GenerateBoundTexture() {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    return name;
}

// A missing, unreadable or malformed file leaves name 0 (OpenGL's default texture) and creates
// nothing.
GLuint LoadSgiTexture(const char *path) {
    std::string whyNot;
    std::optional<RegularFile> file = RegularFile::Open(path, &whyNot);
    if (!file) {
        ReportFailedPictureLoad(path, whyNot);
        return 0;
    }
    const SgiReadResult result = ReadSgiImage(*file);
    if (!result.Ok()) {
        ReportFailedPictureLoad(
            path, std::string("damaged SGI picture (") + SgiFaultText(result.Fault) + ")");
        return 0;
    }
    const SgiImage &image = result.Image;

    const GLuint name = GenerateBoundTexture();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, SgiInternalFormat(image.Components), image.Width, image.Height,
                      GL_RGBA, GL_UNSIGNED_BYTE, image.Rgba.data());
    return name;
}

// Rows go up top row first, so t = 0 is the top of the picture. A file that cannot be decoded
// still gets a texture object, one without an image.
GLuint LoadDecodedTexture(const char *path) {
    const DecodedPicture picture = DecodePictureFile(path);
    const GLuint name = GenerateBoundTexture();
    if (!picture.Pixels) {
        ReportFailedPictureLoad(path, picture.Failure);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, 3, picture.Width, picture.Height, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, picture.Pixels.get());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    return name;
}

// Without a context there is nothing to upload into, so the handle names texture 0.
GLuint LoadTextureFile(const char *path) {
    if (!backEnd.HasCurrentContext()) {
        ReportFailedPictureLoad(path,
                                "there is no open graphics window to hold the texture; load "
                                "textures after InitGraph");
        return 0;
    }
    return IsSgiExtension(Extension(path)) ? LoadSgiTexture(path) : LoadDecodedTexture(path);
}

// Image rows are bottom row first, so here t = 0 is the bottom of the picture.
GLuint UploadImage(const ImageRecord &image) {
    if (!backEnd.HasCurrentContext()) return 0;
    const GLuint name = GenerateBoundTexture();
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, image.Width, image.Height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image.Rgba.empty() ? nullptr : image.Rgba.data());
    return name;
}

void FlipRowsInPlace(unsigned char *pixels, std::size_t rowBytes, std::size_t height) {
    for (std::size_t top = 0; top < height / 2; ++top) {
        std::swap_ranges(pixels + top * rowBytes, pixels + (top + 1) * rowBytes,
                         pixels + (height - 1 - top) * rowBytes);
    }
}

std::size_t PixelCount(const ImageRecord &image) {
    return static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height);
}

}  // namespace

// The header's GRAPHICS_API again: GCC gives a C function defined inside a namespace the
// default hidden visibility, whatever the global declaration said.
extern "C" {

GRAPHICS_API int LoadTexture(const char *path) {
    const int handle = textureTable.LowestFree();
    if (handle == kNoHandle) return kNoHandle;
    TextureSlot &slot = textureTable[handle];
    slot.GlName = LoadTextureFile(path);
    slot.Free = false;
    textureLoads.Loaded(handle, path);
    return handle;
}

GRAPHICS_API int CreateTextureFromImage(int image) {
    const ImageRecord *source = imageTable.Find(image);
    if (!source) return kNoHandle;
    const int handle = textureTable.LowestFree();
    if (handle == kNoHandle) return kNoHandle;
    TextureSlot &slot = textureTable[handle];
    slot.GlName = UploadImage(*source);
    slot.Free = false;
    return handle;
}

GRAPHICS_API void DeleteTexture(int texture) {
    TextureSlot *slot = textureTable.Find(texture);
    if (!slot) return;
    if (backEnd.HasCurrentContext()) glDeleteTextures(1, &slot->GlName);
    slot->Free = true;
    slot->GlName = kNoTextureName;
    textureLoads.Released(texture);
}

GRAPHICS_API void SetTexture(int texture) {
    if (!backEnd.HasCurrentContext()) return;
    if (const TextureSlot *slot = textureTable.Find(texture)) {
        glBindTexture(GL_TEXTURE_2D, slot->GlName);
    }
}

GRAPHICS_API void DrawTexturedRectangle(int texture, float x, float y, float width, float height) {
    const TextureSlot *slot = textureTable.Find(texture);
    if (!slot || !backEnd.HasCurrentContext()) return;
    glBindTexture(GL_TEXTURE_2D, slot->GlName);
    // Always one quad: outline mode shows it as lines through the polygon mode alone.
    const DrawCalls &draw = backEnd.Draw;
    draw.Begin(GL_QUADS);
    draw.TexCoord2f(0.0f, 0.0f);
    draw.Vertex2f(x, y);
    draw.TexCoord2f(1.0f, 0.0f);
    draw.Vertex2f(x + width, y);
    draw.TexCoord2f(1.0f, 1.0f);
    draw.Vertex2f(x + width, y + height);
    draw.TexCoord2f(0.0f, 1.0f);
    draw.Vertex2f(x, y + height);
    draw.End();
}

GRAPHICS_API int _LoadImage(const char *path) {
    const int handle = imageTable.LowestFree();
    if (handle == kNoHandle) return kNoHandle;
    ImageRecord &image = imageTable[handle];
    DecodedPicture picture = DecodePictureFile(path);
    if (!picture.Pixels) {
        ReportFailedPictureLoad(path, picture.Failure);
    } else {
        image.Pixels = std::move(picture.Pixels);
        image.Width = picture.Width;
        image.Height = picture.Height;
        image.Channels = picture.Channels;
        FlipRowsInPlace(image.Pixels.get(), static_cast<std::size_t>(image.Width) * 3,
                        static_cast<std::size_t>(image.Height));
        image.Rgba.resize(PixelCount(image) * 4);
        const unsigned char *rgb = image.Pixels.get();
        for (std::size_t i = 0; i < PixelCount(image); ++i) {
            image.Rgba[4 * i] = rgb[3 * i];
            image.Rgba[4 * i + 1] = rgb[3 * i + 1];
            image.Rgba[4 * i + 2] = rgb[3 * i + 2];
            image.Rgba[4 * i + 3] = 255;
        }
    }
    image.Free = false;
    imageLoads.Loaded(handle, path);
    return handle;
}

GRAPHICS_API void DeleteImage(int image) {
    ImageRecord *record = imageTable.Find(image);
    if (!record) return;
    *record = ImageRecord{};
    imageLoads.Released(image);
}

GRAPHICS_API void SetImageColorKey(int image, int red, int green, int blue) {
    ImageRecord *record = imageTable.Find(image);
    if (!record) return;
    const auto low8 = [](int value) { return static_cast<unsigned char>(value & 0xFF); };
    const unsigned char key[3] = {low8(red), low8(green), low8(blue)};
    unsigned char *pixel = record->Rgba.data();
    for (std::size_t i = 0; i < record->Rgba.size() / 4; ++i, pixel += 4) {
        pixel[3] = std::memcmp(pixel, key, 3) == 0 ? 0 : 255;
    }
}

GRAPHICS_API void DrawImage(int image, float x, float y, float zoomX, float zoomY) {
    const ImageRecord *record = imageTable.Find(image);
    if (!record || !backEnd.HasCurrentContext()) return;
    glRasterPos2f(x, y);
    glPixelZoom(zoomX, zoomY);
    if (!record->Rgba.empty()) {
        glDrawPixels(record->Width, record->Height, GL_RGBA, GL_UNSIGNED_BYTE, record->Rgba.data());
    }
}

}  // extern "C"

}  // namespace graphics
