#include "platform/png.h"

#include <png.h>

namespace platform {

RgbaImage DecodePng(const Bytes& png) {
  RgbaImage image;
  png_image decoder{};
  decoder.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&decoder, png.data(), static_cast<size_t>(png.size()))) {
    return image;
  }
  decoder.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(decoder));
  if (!png_image_finish_read(&decoder, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&decoder);
    return image;
  }
  image.width = static_cast<int>(decoder.width);
  image.height = static_cast<int>(decoder.height);
  image.pixels = std::move(pixels);
  return image;
}

}  // namespace platform
