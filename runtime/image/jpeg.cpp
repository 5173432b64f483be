// JPEG through libjpeg; decoding errors return instead of ending the program.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "runtime/image/image.h"

namespace carelog::image {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}
void OnMessage(j_common_ptr, int) {}

}  // namespace

ImageError DecodeJpeg(const uint8_t* data, size_t size, Image* out) {
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return ImageError::kUnknown;
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = &OnError;
  errors.base.emit_message = &OnMessage;
  std::vector<uint8_t> row;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return ImageError::kMalformed;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&info);
    return ImageError::kMalformed;
  }
  if (static_cast<int64_t>(info.image_width) * info.image_height > kMaxPixels) {
    jpeg_destroy_decompress(&info);
    return ImageError::kTooLarge;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  out->width = static_cast<int>(info.output_width);
  out->height = static_cast<int>(info.output_height);
  out->pixels.assign(static_cast<size_t>(out->width) * out->height, 0);
  row.resize(static_cast<size_t>(info.output_width) * info.output_components);
  while (info.output_scanline < info.output_height) {
    size_t y = info.output_scanline;
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    for (int x = 0; x < out->width; ++x) {
      const uint8_t* c = &row[static_cast<size_t>(x) * 3];
      out->pixels[y * out->width + x] = 0xFF000000u | (c[0] << 16) | (c[1] << 8) | c[2];
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return ImageError::kOk;
}

}  // namespace carelog::image
