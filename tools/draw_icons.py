#!/usr/bin/python3
"""Draws the application's icon for the desktop's hicolor theme and for Windows.

    <folder>/icon-<N>.png   N x N, for each size N given

The icon is the product's mark from the about picture, three fader slots with
their caps, on a rounded tile of the about picture's blue. The large sizes are
scaled down from one drawing; the small ones are drawn on their own pixel grid,
with the slots and caps on whole pixels so that they stay sharp at 16 px.
All are 8-bit RGBA PNGs; a run with the same Pillow gives the same files.

Usage: /usr/bin/python3 tools/draw_icons.py <output folder> <size>...
The build's target vt5150-icons runs it with the sizes that cmake/Product.cmake
names, into packaging/icons/. Sizes below 64 must be multiples of 16.
Needs python3-pil.
"""

import pathlib
import sys

from PIL import Image, ImageDraw

from artwork_drawing import SCALE, box, finish, paint_gradient, px, rounded_mask
from draw_artwork import (BAND_BOTTOM, BAND_MIDDLE, BLUE_TOP, EMBLEM_CAP_LINE, EMBLEM_CAP_STOPS, EMBLEM_POSITIONS,
                          NAVY, draw_fader_emblem)

SMALLEST_SCALED = 64         # from this size up, the icon is scaled down from the large drawing
LARGE_SIZE = 96              # the large drawing, in the about picture's pixels
TILE_STOPS = [(0, BLUE_TOP), (0.5, BAND_MIDDLE), (1, BAND_BOTTOM)]
SMALL_SLOT = (84, 126, 186)  # darker than the emblem's slots, for caps that stand out at 16 px


def cells (x0, y0, x1, y1):
    """The area from (x0, y0) up to, but not including, (x1, y1): Pillow's shapes include their right and
    bottom edges, which would spill a drawing pixel into the next final pixel."""
    return (x0, y0, x1 - 1 / SCALE, y1 - 1 / SCALE)


def draw_tile (size, inset, radius):
    """A canvas of `size` final pixels with the rounded blue tile, and the tile's mask."""
    canvas = Image.new ("RGB", (px (size), px (size)), NAVY)
    area = cells (inset, inset, size - inset, size - inset)
    tile = rounded_mask (canvas.size, area, radius)
    paint_gradient (canvas, tile, area, TILE_STOPS)
    return canvas, tile


def draw_large ():
    canvas, tile = draw_tile (LARGE_SIZE, 4, 15)
    draw_fader_emblem (canvas, LARGE_SIZE / 2, 17, 79)
    return canvas, tile


def draw_small (size):
    """The mark on a grid of 16 units: slots two pixels wide, caps four units by two."""
    unit = size // 16
    canvas, tile = draw_tile (size, unit, 2.5 * unit)
    draw = ImageDraw.Draw (canvas)
    top, bottom = 3 * unit, 13 * unit

    for i, position in enumerate (EMBLEM_POSITIONS):
        cx = (4 + 4 * i) * unit
        draw.rectangle (box (*cells (cx - 1, top, cx + 1, bottom)), fill = SMALL_SLOT)
        y = round (bottom - 2 * unit - 8 * unit * position)
        cap = cells (cx - 2 * unit, y, cx + 2 * unit, y + 2 * unit)
        paint_gradient (canvas, rounded_mask (canvas.size, cap, unit / 2), cap, EMBLEM_CAP_STOPS)
        if unit > 1:
            line = cells (cx - unit, y + unit - 0.5, cx + unit, y + unit + 0.5)
            draw.rectangle (box (*line), fill = EMBLEM_CAP_LINE)

    return canvas, tile


def main ():
    if len (sys.argv) < 3:
        sys.exit ("Usage: draw_icons.py <output folder> <size>...")
    folder = pathlib.Path (sys.argv[1])
    sizes = [int (size) for size in sys.argv[2:]]
    for size in sizes:
        if size < SMALLEST_SCALED and size % 16 != 0:
            sys.exit (f"draw_icons.py: {size} px is drawn on a grid of 16 units; give a multiple of 16")
    folder.mkdir (parents = True, exist_ok = True)
    large = draw_large ()

    for size in sizes:
        if size >= SMALLEST_SCALED:
            (canvas, tile), resample = large, Image.LANCZOS
        else:
            (canvas, tile), resample = draw_small (size), Image.BOX
        finish (canvas, (size, size), folder / f"icon-{size}.png", tile, resample)


if __name__ == "__main__":
    main ()
