#!/usr/bin/env bash
# Records the reference pixels of Wine's GDI for the GDI comparison test: builds the probe
# (tools/generators/gdi_probe.cpp) with MinGW-w64 and runs it under Wine, writing tests/data/gdi/scenes.txt
# and tests/data/gdi/text.txt. The pixels are those of Wine's own GDI code, not of Windows'.
# Needs: apt-get install wine wine64 g++-mingw-w64-x86-64. Run it after changing the scenes.
set -euo pipefail
cd "$(dirname "$0")/../.."
out_dir=${VORLA_PROBE_DIR:-build-probe}
mkdir -p "$out_dir" tests/data/gdi
x86_64-w64-mingw32-g++ -std=c++20 -O2 -Wall -Wextra -Werror -static -DNOMINMAX \
  -Iplatform -Itests \
  tools/generators/gdi_probe.cpp tests/platform/gdi/scenes.cpp tests/platform/gdi/reference_data.cpp \
  -lgdi32 -o "$out_dir/gdi-probe.exe"
prefix=$(mktemp -d /tmp/gdi-probe-wine.XXXXXX)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$prefix"' EXIT
# The first start sets up the fresh prefix and reports on its own; only the probe's run counts.
wineboot -i >/dev/null 2>&1 || true
wineserver -w
# Text as the classic desktop draws it, without font smoothing.
. tools/wine/wine-fonts.sh
plain_text_fonts
made_by="# Recorded on $(date -u +%Y-%m-%d) from the GDI of $(wine --version 2>/dev/null):"
made_by+=" Wine's own code, not Windows'."
{ echo "$made_by"; wine "$out_dir/gdi-probe.exe"; } >"$out_dir/scenes.txt"
{ echo "$made_by"; wine "$out_dir/gdi-probe.exe" text; } >"$out_dir/text.txt"
wineserver -w
mv "$out_dir/scenes.txt" "$out_dir/text.txt" tests/data/gdi/
echo "wrote tests/data/gdi/scenes.txt ($(grep -c '^scene ' tests/data/gdi/scenes.txt) scenes," \
  "$(wc -c <tests/data/gdi/scenes.txt) bytes) and tests/data/gdi/text.txt" \
  "($(grep -c '^text ' tests/data/gdi/text.txt) text cases)"
