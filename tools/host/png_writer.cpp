#include "tools/host/png_writer.h"

namespace {

void PutBig32(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v >> 24));
    out.push_back(static_cast<unsigned char>(v >> 16));
    out.push_back(static_cast<unsigned char>(v >> 8));
    out.push_back(static_cast<unsigned char>(v));
}

// length, type, data, CRC of type and data
void PutChunk(std::vector<unsigned char>& out, const char type[4], const std::vector<unsigned char>& data)
{
    PutBig32(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, Crc32(out.data() + typeAt, 4 + data.size()));
}

}  // namespace

uint32_t Crc32(const unsigned char* data, size_t size, uint32_t crc)
{
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const unsigned char* data, size_t size, uint32_t adler)
{
    uint32_t a = adler & 0xFFFF;
    uint32_t b = adler >> 16;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::vector<unsigned char> EncodePng(const unsigned char* rgb, size_t stride, uint32_t width,
                                     uint32_t height)
{
    std::vector<unsigned char> png;
    if (rgb == nullptr || width == 0 || height == 0) return png;

    // Scanlines, each led by filter type 0 (none).
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<unsigned char> raw;
    raw.reserve((rowBytes + 1) * height);
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        const unsigned char* row = rgb + y * stride;
        raw.insert(raw.end(), row, row + rowBytes);
    }

    // zlib stream: header, stored blocks of at most 65535 bytes, Adler-32 of the data.
    std::vector<unsigned char> zlib = {0x78, 0x01};
    size_t done = 0;
    do {
        const size_t left = raw.size() - done;
        const uint16_t len = static_cast<uint16_t>(left > 65535 ? 65535 : left);
        const bool last = done + len == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<unsigned char>(len));
        zlib.push_back(static_cast<unsigned char>(len >> 8));
        zlib.push_back(static_cast<unsigned char>(~len));
        zlib.push_back(static_cast<unsigned char>(~len >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<ptrdiff_t>(done),
                    raw.begin() + static_cast<ptrdiff_t>(done + len));
        done += len;
    } while (done < raw.size());
    PutBig32(zlib, Adler32(raw.data(), raw.size()));

    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    png.assign(kSignature, kSignature + 8);
    std::vector<unsigned char> header;
    PutBig32(header, width);
    PutBig32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});   // 8 bits, RGB, deflate, no filter choice, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}
