#include "devportal/images.h"

#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <random>
#include <vector>
#include <zlib.h>

namespace zvdev {

namespace {

struct Canvas {
    int w, h;
    std::vector<unsigned char> rgb;
    Canvas(int w_, int h_) : w(w_), h(h_), rgb(static_cast<size_t>(w_) * h_ * 3, 255) {}
    void set(int x, int y, unsigned r, unsigned g, unsigned b) {
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        unsigned char* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
        p[0] = static_cast<unsigned char>(r);
        p[1] = static_cast<unsigned char>(g);
        p[2] = static_cast<unsigned char>(b);
    }
};

// 5x7 glyphs, one row a byte, the high five bits used.
const unsigned char* Glyph(char c) {
    static const unsigned char digits[10][7] = {
        {0x70, 0x88, 0x98, 0xA8, 0xC8, 0x88, 0x70}, {0x20, 0x60, 0x20, 0x20, 0x20, 0x20, 0x70},
        {0x70, 0x88, 0x08, 0x10, 0x20, 0x40, 0xF8}, {0xF8, 0x10, 0x20, 0x10, 0x08, 0x88, 0x70},
        {0x10, 0x30, 0x50, 0x90, 0xF8, 0x10, 0x10}, {0xF8, 0x80, 0xF0, 0x08, 0x08, 0x88, 0x70},
        {0x30, 0x40, 0x80, 0xF0, 0x88, 0x88, 0x70}, {0xF8, 0x08, 0x10, 0x20, 0x40, 0x40, 0x40},
        {0x70, 0x88, 0x88, 0x70, 0x88, 0x88, 0x70}, {0x70, 0x88, 0x88, 0x78, 0x08, 0x10, 0x60},
    };
    static const struct {
        char c;
        unsigned char rows[7];
    } letters[] = {
        {'Z', {0xF8, 0x08, 0x10, 0x20, 0x40, 0x80, 0xF8}}, {'O', {0x70, 0x88, 0x88, 0x88, 0x88, 0x88, 0x70}},
        {'R', {0xF0, 0x88, 0x88, 0xF0, 0xA0, 0x90, 0x88}}, {'V', {0x88, 0x88, 0x88, 0x88, 0x88, 0x50, 0x20}},
        {'A', {0x70, 0x88, 0x88, 0xF8, 0x88, 0x88, 0x88}}, {'N', {0x88, 0xC8, 0xA8, 0x98, 0x88, 0x88, 0x88}},
        {'E', {0xF8, 0x80, 0x80, 0xF0, 0x80, 0x80, 0xF8}}, {'-', {0, 0, 0, 0xF8, 0, 0, 0}},
    };
    if (c >= '0' && c <= '9') return digits[c - '0'];
    for (const auto& l : letters)
        if (l.c == c) return l.rows;
    return nullptr;
}

void DrawText(Canvas& cv, const std::string& text, int x, int y, int scale, unsigned r, unsigned g,
              unsigned b, int advance) {
    for (char c : text) {
        if (const unsigned char* rows = Glyph(c))
            for (int gy = 0; gy < 7; ++gy)
                for (int gx = 0; gx < 5; ++gx)
                    if (rows[gy] & (0x80 >> gx))
                        for (int sy = 0; sy < scale; ++sy)
                            for (int sx = 0; sx < scale; ++sx)
                                cv.set(x + gx * scale + sx, y + gy * scale + sy, r, g, b);
        x += advance;
    }
}

void PutBE32(std::string& out, unsigned v) {
    out += static_cast<char>(v >> 24);
    out += static_cast<char>(v >> 16);
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}

void Chunk(std::string& png, const char* type, const std::string& data) {
    PutBE32(png, static_cast<unsigned>(data.size()));
    std::string body = std::string(type, 4) + data;
    png += body;
    PutBE32(png, static_cast<unsigned>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                             static_cast<uInt>(body.size()))));
}

} // namespace

std::string CaptchaJpeg(const std::string& digits, unsigned seed) {
    Canvas cv(51, 22);
    std::mt19937 rng(seed);
    for (int y = 0; y < cv.h; ++y)
        for (int x = 0; x < cv.w; ++x) {
            const unsigned shade = 225 + rng() % 30;
            cv.set(x, y, shade, shade, 235);
        }
    for (int i = 0; i < 40; ++i) cv.set(rng() % 51, rng() % 22, 150, 150, 190);
    for (size_t i = 0; i < digits.size(); ++i)
        DrawText(cv, std::string(1, digits[i]), 3 + static_cast<int>(i) * 12, 2 + rng() % 4, 2,
                 30 + rng() % 60, 40, 120 + rng() % 80, 0);

    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &mem, &size);
    c.image_width = cv.w;
    c.image_height = cv.h;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = &cv.rgb[static_cast<size_t>(c.next_scanline) * cv.w * 3];
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    std::string out(reinterpret_cast<char*>(mem), size);
    jpeg_destroy_compress(&c);
    free(mem);
    return out;
}

std::string BannerPng() {
    Canvas cv(333, 65);
    for (int y = 0; y < cv.h; ++y)
        for (int x = 0; x < cv.w; ++x)
            cv.set(x, y, 20 + x * 40 / 333, 90 + y * 60 / 65, 170 + x * 60 / 333);
    for (int x = 0; x < cv.w; ++x) cv.set(x, 58, 250, 200, 60);
    DrawText(cv, "ZORVANE", 18, 12, 4, 255, 255, 255, 26);
    DrawText(cv, "95013", 215, 24, 3, 250, 220, 90, 19);

    std::string raw;
    for (int y = 0; y < cv.h; ++y) {
        raw += '\0'; // no filter
        raw.append(reinterpret_cast<const char*>(&cv.rgb[static_cast<size_t>(y) * cv.w * 3]), cv.w * 3);
    }
    uLongf zlen = compressBound(static_cast<uLong>(raw.size()));
    std::string z(zlen, '\0');
    compress2(reinterpret_cast<Bytef*>(z.data()), &zlen, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), 9);
    z.resize(zlen);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string ihdr;
    PutBE32(ihdr, cv.w);
    PutBE32(ihdr, cv.h);
    ihdr += std::string("\x08\x02\x00\x00\x00", 5); // 8-bit RGB
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", "");
    return png;
}

} // namespace zvdev
