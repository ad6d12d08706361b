"""Drawing helpers for tools/draw_artwork.py.

Everything is drawn at SCALE times the final size and scaled down by finish(),
which gives smooth edges. Coordinates passed to these helpers are in final
picture pixels; noise comes from seeded generators so the pictures come out
the same on every run.
"""

import pathlib
import random
import struct

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont, PngImagePlugin

SCALE = 4
FONT_FOLDER = pathlib.Path ("/usr/share/fonts/truetype/dejavu")


def px (value):
    """Converts final-picture pixels into drawing pixels."""
    return int (round (value * SCALE))


def box (x0, y0, x1, y1):
    return (px (x0), px (y0), px (x1), px (y1))


def font (name, size):
    return ImageFont.truetype (str (FONT_FOLDER / name), px (size))


def mix (a, b, t):
    return tuple (int (round (a[i] + (b[i] - a[i]) * t)) for i in range (3))


def vertical_gradient (size, stops):
    """An RGB image of `size` whose rows run through `stops`, a list of (position 0..1, colour)."""
    width, height = size
    column = Image.new ("RGB", (1, height))
    rows = []

    for y in range (height):
        t = y / max (1, height - 1)
        for (p0, c0), (p1, c1) in zip (stops, stops[1:]):
            if p0 <= t <= p1:
                rows.append (mix (c0, c1, (t - p0) / max (1e-9, p1 - p0)))
                break

    column.putdata (rows)
    return column.resize ((width, height), Image.NEAREST)


def noise (size, seed, amplitude, stretch = 1):
    """Grey noise centred on 128, `amplitude` levels each way; `stretch` > 1 streaks it horizontally."""
    width, height = size
    small = (max (1, width // stretch), height)
    data = random.Random (seed).randbytes (small[0] * small[1])
    image = Image.frombytes ("L", small, data)

    if stretch > 1:
        image = image.resize (size, Image.BILINEAR)

    low = 128 - amplitude
    return image.point (lambda v: low + v * (2 * amplitude) // 255)


def add_noise (image, seed, amplitude, stretch = 1):
    grain = noise (image.size, seed, amplitude, stretch)
    return ImageChops.add (image, Image.merge ("RGB", (grain, grain, grain)), 1.0, -128)


def shape_mask (size, draw_shape):
    mask = Image.new ("L", size, 0)
    draw_shape (ImageDraw.Draw (mask))
    return mask


def rounded_mask (size, area, radius):
    return shape_mask (size, lambda d: d.rounded_rectangle (box (*area), px (radius), fill = 255))


def ellipse_mask (size, area):
    return shape_mask (size, lambda d: d.ellipse (box (*area), fill = 255))


def paint (canvas, mask, fill):
    """Paints `fill` (a colour or an image of the canvas' size) through `mask`."""
    if isinstance (fill, tuple):
        fill = Image.new ("RGB", canvas.size, fill)
    canvas.paste (fill, (0, 0), mask)


def paint_gradient (canvas, mask, area, stops):
    """Fills the masked shape with a vertical gradient spanning `area` (final pixels)."""
    x0, y0, x1, y1 = box (*area)
    layer = Image.new ("RGB", canvas.size)
    layer.paste (vertical_gradient ((x1 - x0, y1 - y0), stops), (x0, y0))
    paint (canvas, mask, layer)


def shadow (canvas, mask, offset, blur, strength):
    """Darkens the canvas under a blurred, offset copy of `mask`."""
    moved = ImageChops.offset (mask, px (offset[0]), px (offset[1]))
    soft = moved.filter (ImageFilter.GaussianBlur (px (blur))).point (lambda v: v * strength // 255)
    paint (canvas, soft, (0, 0, 0))


def glow (canvas, centre, radius, colour, strength):
    """Adds light of `colour` around `centre`, fading out over `radius`."""
    cx, cy = centre
    mask = ellipse_mask (canvas.size, (cx - radius / 2, cy - radius / 2, cx + radius / 2, cy + radius / 2))
    mask = mask.filter (ImageFilter.GaussianBlur (px (radius / 3))).point (lambda v: v * strength // 255)
    light = Image.new ("RGB", canvas.size, colour)
    lit = ImageChops.screen (canvas, light)
    canvas.paste (lit, (0, 0), mask)


def text (canvas, position, content, typeface, colour, anchor = "la", spacing = 0):
    """Draws text; `spacing` adds final pixels between letters (for letter-spaced labels)."""
    draw = ImageDraw.Draw (canvas)
    x, y = px (position[0]), px (position[1])

    if spacing == 0:
        draw.text ((x, y), content, font = typeface, fill = colour, anchor = anchor)
        return

    widths = [draw.textlength (c, font = typeface) for c in content]
    total = sum (widths) + px (spacing) * (len (content) - 1)
    if anchor[0] == "m":
        x -= total / 2
    for c, w in zip (content, widths):
        draw.text ((x, y), c, font = typeface, fill = colour, anchor = "l" + anchor[1])
        x += w + px (spacing)


def finish (canvas, size, path, alpha = None, resample = Image.LANCZOS, dpi = 72):
    """Scales the drawing down to `size` and saves it as an RGBA PNG with pHYs, gAMA and cHRM; `alpha`, a
    mask of the canvas' size, makes what lies outside it transparent. Image.BOX keeps shapes drawn on
    whole final pixels sharp, where LANCZOS would ring around them. `dpi` goes into pHYs."""
    picture = canvas.resize (size, resample).convert ("RGBA")
    if alpha is not None:
        picture.putalpha (alpha.resize (size, resample))
    info = PngImagePlugin.PngInfo ()
    info.add (b"gAMA", struct.pack (">I", 45455))
    info.add (b"cHRM", struct.pack (">8I", 31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000))
    picture.save (path, "PNG", pnginfo = info, dpi = (dpi, dpi), optimize = True)


def finish_both_sizes (canvas, size, path):
    """Saves the drawing at `size` as `path` and at twice the size beside it, with "@2x" added to the file's
    stem, for displays scaled to 150 or 200 %; the larger picture's pHYs gives the same physical size."""
    width, height = size
    finish (canvas, size, path)
    finish (canvas, (2 * width, 2 * height), path.with_name (path.stem + "@2x" + path.suffix), dpi = 144)
