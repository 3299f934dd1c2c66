// PNG decoding with libpng. Pure and thread-safe.
#pragma once

#include <cstdint>
#include <vector>

#include "text/text.h"

namespace platform {

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // rows of width x 4 bytes, non-premultiplied RGBA
};

// The decoded picture, or an empty image (width 0) when the bytes are no PNG.
RgbaImage DecodePng(const Bytes& png);

}  // namespace platform
