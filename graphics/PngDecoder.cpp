// libpng reports errors by longjmp() back to the setjmp() of the function that called it. So the
// function that calls it, ReadRows, owns nothing and has no destructor to skip: the pixel buffer
// lives in a plain record of the caller's, which releases it after a failure.
#include "PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "PictureHeader.h"

namespace graphics {

namespace {

struct PngInput {
    std::span<const std::uint8_t> Bytes;
    std::size_t At = 0;
    char Failure[192] = "";
};

struct PngRows {
    unsigned char *Pixels = nullptr;  // malloc'ed; the caller's to release
    png_uint_32 Width = 0, Height = 0;
    int Channels = 0;
    bool OutOfMemory = false;
};

void ReadInput(png_structp png, png_bytep destination, png_size_t count) {
    auto *input = static_cast<PngInput *>(png_get_io_ptr(png));
    if (count > input->Bytes.size() - input->At) png_error(png, "the file ends inside its data");
    std::memcpy(destination, input->Bytes.data() + input->At, count);
    input->At += count;
}

void KeepFailure(png_structp png, png_const_charp message) {
    auto *input = static_cast<PngInput *>(png_get_error_ptr(png));
    std::snprintf(input->Failure, sizeof input->Failure, "%s", message);
    png_longjmp(png, 1);
}

// Warnings concern chunks that do not change the pixels (colour profiles, text); the learner can
// do nothing about them.
void IgnoreWarning(png_structp, png_const_charp) {}

int FileChannels(png_structp png, png_infop info, int colourType) {
    switch (colourType) {
        case PNG_COLOR_TYPE_GRAY:
            return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_PALETTE:
            return png_get_valid(png, info, PNG_INFO_tRNS) ? 4 : 3;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            return 4;
        default:
            return 3;
    }
}

bool ReadRows(png_structp png, png_infop info, PngRows *rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    int depth = 0, colourType = 0;
    png_get_IHDR(png, info, &rows->Width, &rows->Height, &depth, &colourType, nullptr, nullptr,
                 nullptr);
    rows->Channels = FileChannels(png, info, colourType);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (depth == 16) png_set_scale_16(png);
    if (!(colourType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    // Looking up a palette also turns its transparency chunk into alpha.
    if ((colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_strip_alpha(png);
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = std::size_t{rows->Width} * 3;
    if (png_get_rowbytes(png, info) != rowBytes) png_error(png, "unexpected row size");
    rows->Pixels = static_cast<unsigned char *>(std::malloc(rowBytes * rows->Height));
    if (rows->Pixels == nullptr) {
        rows->OutOfMemory = true;
        return false;
    }
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < rows->Height; ++y) {
            png_read_row(png, rows->Pixels + y * rowBytes, nullptr);
        }
    }
    return true;
}

}  // namespace

DecodedPicture DecodePng(std::span<const std::uint8_t> bytes) {
    PngInput input{.Bytes = bytes};
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &input, KeepFailure, IgnoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return NoPicture("there is not enough memory to read it");
    }
    png_set_read_fn(png, &input, ReadInput);
    png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
    // SOIL's decoder, which read PNG files before, never checked their checksums; files that
    // loaded then keep loading, and the time goes to the pixels.
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32  // not every libpng build offers it (Debian 13's does not)
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
    PngRows rows;
    const bool read = ReadRows(png, info, &rows);
    png_destroy_read_struct(&png, &info, nullptr);
    if (rows.OutOfMemory) return NoPicture("there is not enough memory for its pixels");
    if (!read) {
        std::free(rows.Pixels);
        return NoPicture(std::string("damaged PNG (") + input.Failure + ")");
    }
    DecodedPicture picture;
    picture.Pixels.reset(rows.Pixels);
    picture.Width = static_cast<int>(rows.Width);
    picture.Height = static_cast<int>(rows.Height);
    picture.Channels = rows.Channels;
    return picture;
}

}  // namespace graphics
