// PNG files from raw RGB pixels: stored (uncompressed) deflate blocks, CRC-32 and
// Adler-32 computed here. No platform calls, no outside library.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

uint32_t Crc32(const unsigned char* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const unsigned char* data, size_t size, uint32_t adler = 1);

// `rgb` holds `height` rows of `width` pixels, 3 bytes each (red, green, blue), rows
// `stride` bytes apart. Gives the whole PNG file, or nothing for an empty image.
std::vector<unsigned char> EncodePng(const unsigned char* rgb, size_t stride, uint32_t width,
                                     uint32_t height);
