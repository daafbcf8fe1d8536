// Where the ink of each text call of CALLS lies on the headless display, written to OUT: the
// Linux side of what the Windows probe's ink mode measures under Wine (text_ink.h).
//   package-text-ink CALLS OUT
#include "text_ink.h"

#include "display/headless/headless.h"
#include "layer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: package-text-ink CALLS OUT\n");
    return 2;
  }
  headless::drive_from_code();
  platform::layer_choose_display("headless");
  static char no_arguments[] = "";
  gfx_startup(nullptr, nullptr, no_arguments, SW_HIDE);
  gfx_set_logging(0);
  const bool written =
      text_ink::write_boxes(argv[2], text_ink::ink_boxes(text_ink::read_calls(argv[1])));
  gfx_shutdown();
  return written ? 0 : 2;
}
