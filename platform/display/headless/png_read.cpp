// Reading PNG files back: the pictures tests compare with, and those a checker of programs
// compares with a model. Only what save_png and common tools write is read: 8-bit RGB or RGBA,
// no interlacing, any of the five row filters.
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "headless.h"

namespace headless {
namespace {

uint32_t big_endian(const unsigned char* at) {
  return static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 |
         static_cast<uint32_t>(at[2]) << 8 | at[3];
}

// Undoes a row's filter in place; `previous` is the row above, already undone (zeros for the
// first row), `bpp` the bytes per pixel.
bool unfilter_row(int filter, unsigned char* row, const unsigned char* previous, size_t length,
                  size_t bpp) {
  for (size_t i = 0; i < length; ++i) {
    const int left = i >= bpp ? row[i - bpp] : 0;
    const int up = previous[i];
    const int up_left = i >= bpp ? previous[i - bpp] : 0;
    int predictor = 0;
    switch (filter) {
      case 0:
        break;
      case 1:
        predictor = left;
        break;
      case 2:
        predictor = up;
        break;
      case 3:
        predictor = (left + up) / 2;
        break;
      case 4: {
        const int p = left + up - up_left;
        const int to_left = std::abs(p - left), to_up = std::abs(p - up),
                  to_up_left = std::abs(p - up_left);
        predictor = to_left <= to_up && to_left <= to_up_left ? left
                    : to_up <= to_up_left                     ? up
                                                              : up_left;
        break;
      }
      default:
        return false;
    }
    row[i] = static_cast<unsigned char>(row[i] + predictor);
  }
  return true;
}

}  // namespace

bool read_png(const std::string& path, std::vector<uint32_t>* pixels, int* width, int* height,
              std::string* error) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
  auto fail = [&](const std::string& why) {
    *error = path + ": " + why;
    return false;
  };
  if (!file) return fail("cannot be read");
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 8 || !std::equal(kSignature, kSignature + 8, bytes.begin())) {
    return fail("not a PNG file");
  }
  std::vector<unsigned char> packed;
  int channels = 0;
  bool ended = false;
  for (size_t at = 8; !ended;) {
    if (bytes.size() - at < 12) return fail("ends inside a chunk");
    const uint32_t length = big_endian(&bytes[at]);
    if (length > bytes.size() - at - 12) return fail("ends inside a chunk");
    const unsigned char* type = &bytes[at + 4];
    const unsigned char* data = type + 4;
    const std::string name(type, type + 4);
    if (crc32(0, type, 4 + length) != big_endian(data + length)) {
      return fail("chunk " + name + " fails its checksum");
    }
    if (name == "IHDR") {
      if (length != 13) return fail("IHDR of the wrong length");
      *width = static_cast<int>(big_endian(data));
      *height = static_cast<int>(big_endian(data + 4));
      const int depth = data[8], colour_type = data[9], interlace = data[12];
      if (depth != 8 || (colour_type != 2 && colour_type != 6) || data[10] != 0 || data[11] != 0 ||
          interlace != 0) {
        return fail(
            "only 8-bit RGB or RGBA PNGs without interlacing are read; this has bit "
            "depth " +
            std::to_string(depth) + ", colour type " + std::to_string(colour_type) +
            ", interlace " + std::to_string(interlace));
      }
      if (*width <= 0 || *height <= 0 || *width > 16384 || *height > 16384) {
        return fail("unusual size");
      }
      channels = colour_type == 2 ? 3 : 4;
    } else if (name == "IDAT") {
      packed.insert(packed.end(), data, data + length);
    } else if (name == "IEND") {
      ended = true;
    }
    at += 12 + length;
  }
  if (channels == 0) return fail("no IHDR chunk");
  const size_t row_bytes = static_cast<size_t>(*width) * channels;
  const size_t rows = static_cast<size_t>(*height);
  std::vector<unsigned char> raw(rows * (1 + row_bytes));
  uLongf raw_size = static_cast<uLongf>(raw.size());
  if (uncompress(raw.data(), &raw_size, packed.data(), static_cast<uLong>(packed.size())) != Z_OK ||
      raw_size != raw.size()) {
    return fail("image data that does not unpack to " + std::to_string(*width) + " x " +
                std::to_string(*height) + " pixels");
  }
  const std::vector<unsigned char> zeros(row_bytes, 0);
  pixels->clear();
  pixels->reserve(rows * static_cast<size_t>(*width));
  for (size_t y = 0; y < rows; ++y) {
    unsigned char* row = &raw[y * (1 + row_bytes)];
    const unsigned char* previous = y == 0 ? zeros.data() : row - row_bytes;
    if (!unfilter_row(row[0], row + 1, previous, row_bytes, channels)) {
      return fail("row " + std::to_string(y) + " has filter type " + std::to_string(row[0]));
    }
    for (size_t i = 1; i <= row_bytes; i += channels) {
      const uint32_t alpha = channels == 4 ? row[i + 3] : 0xFF;
      pixels->push_back(alpha << 24 | static_cast<uint32_t>(row[i]) << 16 |
                        static_cast<uint32_t>(row[i + 1]) << 8 | row[i + 2]);
    }
  }
  return true;
}

}  // namespace headless
