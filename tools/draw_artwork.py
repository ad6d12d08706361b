#!/usr/bin/python3
"""Draws the updater's two built-in pictures.

    resources/VT5150.png  550 x 371  wizard backdrop: part of the VT-5150's top
                                     panel above a blue gradient for the pages
    resources/About.png   431 x 191  about box panel

and each at twice the size beside it, VT5150@2x.png and About@2x.png, reduced
less from the same drawing, for displays scaled to 150 or 200 %.
All are 8-bit RGBA PNGs, not interlaced, carrying pHYs, gAMA and cHRM chunks.
A run with the same Pillow and DejaVu fonts gives the same files.

Usage: /usr/bin/python3 tools/draw_artwork.py [output folder]   (default: resources/)
Needs python3-pil and fonts-dejavu-core.
"""

import pathlib
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter

from artwork_drawing import (add_noise, box, ellipse_mask, finish_both_sizes, font, mix, paint, paint_gradient, px,
                             rounded_mask, shadow, shape_mask, text, vertical_gradient)
from artwork_panel import CHASSIS_BOTTOM, draw_panel

DEVICE_SIZE = (550, 371)
ABOUT_SIZE = (431, 191)

BLUE_TOP = (33, 84, 148)
BLUE_BOTTOM = (10, 31, 70)
NAVY = (7, 20, 46)
BAND_MIDDLE = (24, 66, 124)                    # the about picture's blue band, from BLUE_TOP down
BAND_BOTTOM = mix (BLUE_TOP, BLUE_BOTTOM, 0.55)

# The fader emblem: slot strokes, cap gradient and the line across each cap, and where the caps stand.
EMBLEM_SLOT = (118, 160, 214)
EMBLEM_CAP_STOPS = [(0, (226, 234, 246)), (1, (150, 176, 212))]
EMBLEM_CAP_LINE = (60, 96, 150)
EMBLEM_POSITIONS = (0.35, 0.75, 0.5)


def draw_badge (canvas, left, top, colour):
    """The Kelmora badge: a ringed K mark followed by the letter-spaced name."""
    size = canvas.size
    ring = (left, top, left + 15, top + 15)
    mark = ellipse_mask (size, ring)
    inner = ellipse_mask (size, (left + 1.4, top + 1.4, left + 13.6, top + 13.6))
    paint (canvas, ImageChops.subtract (mark, inner), colour)

    draw = ImageDraw.Draw (canvas)
    stroke = px (1.6)
    stem = left + 5.6
    draw.line (box (stem, top + 3.8, stem, top + 11.2), fill = colour, width = stroke)
    draw.line (box (stem + 0.4, top + 8.2, left + 10.6, top + 3.8), fill = colour, width = stroke)
    draw.line (box (stem + 2.0, top + 6.9, left + 10.8, top + 11.2), fill = colour, width = stroke)

    text (canvas, (left + 20, top + 7.8), "KELMORA", font ("DejaVuSans-Bold.ttf", 8.6), colour, "lm", 1.5)


def draw_page_area ():
    """The plain blue area under the panel on which the wizard lays out its pages."""
    width, height = DEVICE_SIZE
    area = vertical_gradient ((px (width), px (height - CHASSIS_BOTTOM)),
                              [(0, BLUE_TOP), (0.55, mix (BLUE_TOP, BLUE_BOTTOM, 0.5)), (1, BLUE_BOTTOM)])
    sheen = Image.new ("L", area.size, 0)
    ImageDraw.Draw (sheen).ellipse ((px (250), px (-120), px (720), px (150)), fill = 34)
    sheen = sheen.filter (ImageFilter.GaussianBlur (px (60)))
    area.paste ((120, 170, 230), (0, 0), sheen)
    return add_noise (area, 371, 1)


def draw_device_picture (path):
    width, height = DEVICE_SIZE
    canvas = Image.new ("RGB", (px (width), px (height)))
    canvas.paste (draw_page_area (), (0, px (CHASSIS_BOTTOM)))
    draw_panel (canvas)
    draw_badge (canvas, 14, 343, (186, 204, 230))
    finish_both_sizes (canvas, DEVICE_SIZE, path)


def draw_about_picture (path):
    width, height = ABOUT_SIZE
    canvas = vertical_gradient ((px (width), px (height)),
                                [(0, NAVY), (0.15, NAVY), (0.151, BLUE_TOP), (0.5, BAND_MIDDLE),
                                 (0.849, BAND_BOTTOM), (0.85, NAVY), (1, NAVY)])
    size = canvas.size

    sheen = Image.new ("L", size, 0)
    ImageDraw.Draw (sheen).ellipse (box (180, -60, 520, 120), fill = 36)
    sheen = sheen.filter (ImageFilter.GaussianBlur (px (45)))
    band_free = shape_mask (size, lambda d: d.rectangle (box (0, 29, width, 162), fill = 255))
    canvas.paste ((120, 170, 230), (0, 0), ImageChops.multiply (sheen, band_free))
    canvas = add_noise (canvas, 431, 1)

    draw = ImageDraw.Draw (canvas)
    draw.line (box (0, 28.6, width, 28.6), fill = (86, 136, 200), width = px (0.8))
    draw.line (box (0, 162.4, width, 162.4), fill = (64, 108, 170), width = px (0.8))
    draw_fader_emblem (canvas)
    draw_badge (canvas, 14, 168, (170, 190, 222))
    finish_both_sizes (canvas, ABOUT_SIZE, path)


def draw_fader_emblem (canvas, centre = 68, top = 48, bottom = 136):
    """Three fader slots with caps, in light strokes: the product's mark beside the about text and in the
    application's icon. The slots run from `top` to `bottom`, the middle one at x = `centre`."""
    size = canvas.size
    draw = ImageDraw.Draw (canvas)
    for i, position in enumerate (EMBLEM_POSITIONS):
        cx = centre + (i - 1) * 22
        draw.line (box (cx, top, cx, bottom), fill = EMBLEM_SLOT, width = px (1.4))
        y = bottom - 6 - (bottom - top - 12) * position
        cap = rounded_mask (size, (cx - 8, y - 5, cx + 8, y + 5), 2)
        shadow (canvas, cap, (0, 2), 2, 140)
        paint_gradient (canvas, cap, (cx - 8, y - 5, cx + 8, y + 5), EMBLEM_CAP_STOPS)
        draw.line (box (cx - 6, y, cx + 6, y), fill = EMBLEM_CAP_LINE, width = px (0.8))


def main ():
    folder = pathlib.Path (sys.argv[1]) if len (sys.argv) > 1 else pathlib.Path (__file__).resolve ().parent.parent / "resources"
    folder.mkdir (parents = True, exist_ok = True)
    draw_device_picture (folder / "VT5150.png")
    draw_about_picture (folder / "About.png")


if __name__ == "__main__":
    main ()
