// The last picture shown, rewritten in place at every present. A PPM (P6) is a header and the
// pixels' bytes, so each present is one write of about 900 KB for the usual drawing area, with
// nothing to compress: an animation of a thousand ticks costs well under a second more. A
// process killed in the middle of a write leaves a picture partly of one present and partly of
// the one before, which is still a picture the program showed or was showing.
#include "last_picture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace headless_last_picture {
namespace {

std::string path;
int file = -1;
bool failed = false;  // said once on stderr; the program runs on without the file
HWND first_window = nullptr;
std::vector<unsigned char> bytes;
size_t written_size = 0;

void give_up(const char* what) {
  std::fprintf(stderr, "VORLA_LAST_PICTURE: cannot %s %s: %s\n", what, path.c_str(),
               std::strerror(errno));
  failed = true;
}

}  // namespace

void open() {
  const char* name = std::getenv("VORLA_LAST_PICTURE");
  path = name != nullptr ? name : "";
  failed = false;
}

void close() {
  if (file >= 0) ::close(file);
  file = -1;
  first_window = nullptr;
  written_size = 0;
}

void window_created(HWND window) {
  if (first_window == nullptr) first_window = window;
}

void presented(HWND window, const platform::Surface& client) {
  if (path.empty() || failed || window != first_window || client.width <= 0 || client.height <= 0) {
    return;
  }
  if (file < 0) {
    file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0) return give_up("write");
  }
  const std::string header =
      "P6\n" + std::to_string(client.width) + " " + std::to_string(client.height) + "\n255\n";
  bytes.resize(header.size() + static_cast<size_t>(client.width) * client.height * 3);
  std::memcpy(bytes.data(), header.data(), header.size());
  unsigned char* out = bytes.data() + header.size();
  for (int y = 0; y < client.height; ++y) {
    const uint32_t* row = client.pixels + static_cast<size_t>(y) * client.stride;
    for (int x = 0; x < client.width; ++x) {
      *out++ = static_cast<unsigned char>(row[x] >> 16);
      *out++ = static_cast<unsigned char>(row[x] >> 8);
      *out++ = static_cast<unsigned char>(row[x]);
    }
  }
  for (size_t done = 0; done < bytes.size();) {
    ssize_t n = ::pwrite(file, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return give_up("write");
    done += static_cast<size_t>(n);
  }
  // A picture smaller than the one before (a window made smaller) must not keep its tail.
  if (bytes.size() < written_size && ::ftruncate(file, static_cast<off_t>(bytes.size())) != 0) {
    return give_up("shorten");
  }
  written_size = bytes.size();
}

}  // namespace headless_last_picture
