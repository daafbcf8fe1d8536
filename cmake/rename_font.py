"""Gives a cut-down face a name of its own: the licence of some faces (the SIL Open Font
License with a Reserved Font Name, as Liberation's) keeps their names for unchanged copies.
The family, full and PostScript names change; copyright, trademark and licence notices stay.
Usage: python3 rename_font.py FONT.ttf "New Family"
"""
import sys

from fontTools.ttLib import TTFont

path, family = sys.argv[1], sys.argv[2]
font = TTFont(path)
names = font["name"]
style = names.getDebugName(2) or "Regular"
new = {
    1: family,
    3: f"{family} {style} (cut down)",
    4: family if style == "Regular" else f"{family} {style}",
    6: f"{family.replace(' ', '')}-{style.replace(' ', '')}",
    16: family,
    17: style,
}
for record in names.names:
    if record.nameID in new:
        record.string = new[record.nameID]
    elif record.nameID in (18, 21, 22):
        record.string = family
font.save(path)
