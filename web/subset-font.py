#!/usr/bin/python3
# Cuts the game's font to the characters the page can draw, for the browser's download only:
#   subset-font.py <media/ANTQUAB.TTF> <output .ttf>
# Basic Latin and Latin-1 (the game's texts are ASCII), with the hinting (fpgm, prep, cvt and the
# glyphs' instructions) and the legacy kern table that the game's FreeType renderer reads, every
# layout feature, the .notdef box for anything else, and every name record of the Windows platform,
# among them the copyright notice and the licence text that must travel with each copy. The output
# is the same bytes on every run: the head table's dates are kept, not set to now, and the FFTM
# table (a build date) is dropped.
#
# The font is DejaVu Serif Bold under the Bitstream Vera licence (media/ANTQUAB.LICENSE.txt): a
# modified copy may be distributed only under a name that contains neither "Bitstream" nor "Vera".
# Its names are DejaVu's, which contain neither; the build stops if a font's ever do.
import re
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

Unicodes = 'U+0020-007E,U+00A0-00FF'
# The name records that name the font: family, subfamily, unique id, full name, PostScript name,
# typographic family and subfamily, WWS family and subfamily, variations PostScript prefix.
NamingIds = {1, 2, 3, 4, 6, 16, 17, 21, 22, 25}


def main(source, output):
    options = subset.Options()
    options.hinting = True
    options.legacy_kern = True
    options.layout_features = ['*']
    options.name_IDs = ['*']
    options.notdef_outline = True
    options.drop_tables += ['FFTM']
    font = subset.load_font(source, options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=subset.parse_unicodes(Unicodes))
    subsetter.subset(font)
    for record in font['name'].names:
        if record.nameID in NamingIds and re.search('bitstream|vera', record.toUnicode(), re.IGNORECASE):
            sys.exit(f'{source}: the cut font would be named "{record.toUnicode()}" (name id {record.nameID}): the '
                     'Bitstream Vera licence lets a modified copy carry no name with "Bitstream" or "Vera" in it. '
                     'Rename it in this script before shipping it.')
    subset.save_font(font, output, options)


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit('usage: subset-font.py <font> <output>')
    main(sys.argv[1], sys.argv[2])
