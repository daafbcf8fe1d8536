# Sourced by the scripts that run programs under Wine: text as the classic desktop draws it,
# without font smoothing (one colour per glyph pixel). Wine takes the smoothing of each face
# from fontconfig, so it is switched off there, for the prefix in $WINEPREFIX.
# Usage: plain_text_fonts
plain_text_fonts() {
  cat >"$WINEPREFIX/fonts.conf" <<'XML'
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <match target="font"><edit name="antialias" mode="assign"><bool>false</bool></edit></match>
</fontconfig>
XML
  export FONTCONFIG_FILE=$WINEPREFIX/fonts.conf
}
