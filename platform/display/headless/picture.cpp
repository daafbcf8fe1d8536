#include "picture.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace picture {
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

void put_u32(std::vector<unsigned char>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back((value >> shift) & 0xFF);
}

void put_chunk(std::vector<unsigned char>& out, const char* type,
               const std::vector<unsigned char>& data) {
  put_u32(out, static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  put_u32(out, static_cast<uint32_t>(crc));
}

constexpr uint32_t kDiffering = 0xFF00FF;
constexpr uint32_t kDifferingMasked = 0x0000FF;
constexpr uint32_t kMasked = 0x9EC9F5;

// The colour at (x, y), or none outside the picture.
bool colour_at(const Picture& picture, int x, int y, uint32_t* colour) {
  if (x >= picture.width || y >= picture.height) return false;
  *colour = picture.at(x, y) & 0xFFFFFF;
  return true;
}

bool masked(const std::vector<Rect>& masks, int x, int y) {
  return std::any_of(masks.begin(), masks.end(), [&](const Rect& r) { return r.contains(x, y); });
}

// Calls visit(x, y, expected colour, whether the pictures differ there, whether it is masked)
// for every pixel of the larger of each side.
template <typename Visit>
void each_pixel(const Picture& expected, const Picture& actual, const std::vector<Rect>& masks,
                Visit visit) {
  const int width = std::max(expected.width, actual.width);
  const int height = std::max(expected.height, actual.height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t a = 0, b = 0;
      const bool in_expected = colour_at(expected, x, y, &a);
      const bool in_actual = colour_at(actual, x, y, &b);
      visit(x, y, a, in_expected != in_actual || a != b, masked(masks, x, y));
    }
  }
}

}  // namespace

bool write_png(const std::string& path, const Picture& picture, bool alpha) {
  const std::vector<uint32_t>& pixels = picture.pixels;
  const int width = picture.width;
  const int height = picture.height;
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) {
    return false;
  }
  // Rows of filter type 0 (none) followed by the RGB or RGBA bytes.
  const int channels = alpha ? 4 : 3;
  std::vector<unsigned char> raw;
  raw.reserve(static_cast<size_t>(height) * (1 + channels * width));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < width; ++x) {
      uint32_t p = pixels[static_cast<size_t>(y) * width + x];
      raw.push_back((p >> 16) & 0xFF);
      raw.push_back((p >> 8) & 0xFF);
      raw.push_back(p & 0xFF);
      if (alpha) raw.push_back((p >> 24) & 0xFF);
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<unsigned char> packed(packed_size);
  if (compress(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size())) != Z_OK) {
    return false;
  }
  packed.resize(packed_size);

  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<unsigned char> header;
  put_u32(header, static_cast<uint32_t>(width));
  put_u32(header, static_cast<uint32_t>(height));
  // 8 bits, RGB or RGBA, deflate, no filter, no interlace.
  header.insert(header.end(), {8, static_cast<unsigned char>(alpha ? 6 : 2), 0, 0, 0});
  put_chunk(png, "IHDR", header);
  put_chunk(png, "IDAT", packed);
  put_chunk(png, "IEND", {});

  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

bool read_png(const std::string& path, Picture* picture, std::string* error) {
  int* width = &picture->width;
  int* height = &picture->height;
  std::vector<uint32_t>* pixels = &picture->pixels;
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

bool write_ppm(const std::string& path, const Picture& picture) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fprintf(file, "P6\n%d %d\n255\n", picture.width, picture.height);
  std::vector<unsigned char> rgb;
  rgb.reserve(picture.pixels.size() * 3);
  for (uint32_t pixel : picture.pixels) {
    rgb.insert(rgb.end(),
               {static_cast<unsigned char>(pixel >> 16), static_cast<unsigned char>(pixel >> 8),
                static_cast<unsigned char>(pixel)});
  }
  const bool written = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
  return std::fclose(file) == 0 && written;
}

bool read_ppm(const std::string& path, Picture* picture, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
  auto fail = [&](const std::string& why) {
    *error = path + ": " + why;
    return false;
  };
  if (!file) return fail("cannot be read");
  if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') return fail("not a binary PPM");
  // Width, height and the largest value, each after white space or comments, then one white
  // space character and the samples.
  size_t at = 2;
  long values[3];
  for (long& value : values) {
    while (at < bytes.size() && (std::isspace(bytes[at]) || bytes[at] == '#')) {
      if (bytes[at] == '#') {
        while (at < bytes.size() && bytes[at] != '\n') ++at;
      } else {
        ++at;
      }
    }
    value = 0;
    size_t digits = 0;
    while (at < bytes.size() && std::isdigit(bytes[at]) && digits++ < 6) {
      value = value * 10 + (bytes[at++] - '0');
    }
    if (digits == 0) return fail("a damaged PPM header");
  }
  ++at;
  const long width = values[0], height = values[1];
  const size_t sample = values[2] == 255 ? 1 : values[2] == 65535 ? 2 : 0;
  if (sample == 0 || width <= 0 || height <= 0 || width > 16384 || height > 16384 ||
      bytes.size() < at + static_cast<size_t>(width * height) * 3 * sample) {
    return fail("not a whole picture of 8 or 16 bits a sample");
  }
  picture->width = static_cast<int>(width);
  picture->height = static_cast<int>(height);
  picture->pixels.resize(static_cast<size_t>(width * height));
  for (uint32_t& pixel : picture->pixels) {
    pixel = static_cast<uint32_t>(bytes[at]) << 16 |
            static_cast<uint32_t>(bytes[at + sample]) << 8 | bytes[at + 2 * sample];
    at += 3 * sample;
  }
  return true;
}

Comparison compare(const Picture& expected, const Picture& actual, const std::vector<Rect>& masks) {
  Comparison result;
  result.same_size = expected.width == actual.width && expected.height == actual.height;
  int left = 0, top = 0, right = -1, bottom = -1;
  each_pixel(expected, actual, masks, [&](int x, int y, uint32_t, bool differs, bool in_mask) {
    if (!differs) return;
    if (in_mask) {
      ++result.differing_masked;
      return;
    }
    if (result.differing++ == 0) {
      left = right = x;
      top = bottom = y;
    }
    left = std::min(left, x);
    right = std::max(right, x);
    bottom = y;
    if (result.first.size() < 10) result.first.push_back({x, y});
  });
  if (result.differing > 0) result.bounds = {left, top, right - left + 1, bottom - top + 1};
  return result;
}

Picture difference(const Picture& expected, const Picture& actual, const std::vector<Rect>& masks) {
  Picture out;
  out.width = std::max(expected.width, actual.width);
  out.height = std::max(expected.height, actual.height);
  out.pixels.resize(static_cast<size_t>(out.width) * out.height);
  each_pixel(expected, actual, masks,
             [&](int x, int y, uint32_t colour, bool differs, bool in_mask) {
               uint32_t shown = 0xC0C0C0 + ((colour >> 2) & 0x3F3F3F);
               if (differs) {
                 shown = in_mask ? kDifferingMasked : kDiffering;
               } else if (in_mask) {
                 shown = kMasked;
               }
               out.pixels[static_cast<size_t>(y) * out.width + x] = shown;
             });
  return out;
}

}  // namespace picture
