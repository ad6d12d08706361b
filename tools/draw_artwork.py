#!/usr/bin/python3
"""Draws the updater's two built-in pictures.

    resources/VT5150.png  550 x 371  wizard backdrop: part of the VT-5150's top
                                     panel above a blue gradient for the pages
    resources/About.png   431 x 191  about box panel

Both are 8-bit RGBA PNGs, not interlaced, carrying pHYs, gAMA and cHRM chunks.
Everything is drawn at four times the final size and scaled down, which gives
smooth edges; all noise comes from seeded generators, so a run with the same
Pillow and DejaVu fonts gives the same pictures.

Usage: /usr/bin/python3 tools/draw_artwork.py [output folder]   (default: resources/)
Needs python3-pil and fonts-dejavu-core.
"""

import math
import pathlib
import random
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont, PngImagePlugin

SCALE = 4
FONT_FOLDER = pathlib.Path ("/usr/share/fonts/truetype/dejavu")

DEVICE_SIZE = (550, 371)
ABOUT_SIZE = (431, 191)

PANEL_BOTTOM = 164       # last row of the panel's top face
CHASSIS_BOTTOM = 172     # the chassis front edge ends here; the page area starts below

BLUE_TOP = (33, 84, 148)
BLUE_BOTTOM = (10, 31, 70)
NAVY = (7, 20, 46)
SILKSCREEN = (178, 184, 192)


# ---------------------------------------------------------------- helpers

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


def finish (canvas, size, path):
    """Scales the drawing down to `size` and saves it as an RGBA PNG with pHYs, gAMA and cHRM."""
    picture = canvas.resize (size, Image.LANCZOS).convert ("RGBA")
    info = PngImagePlugin.PngInfo ()
    info.add (b"gAMA", struct.pack (">I", 45455))
    info.add (b"cHRM", struct.pack (">8I", 31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000))
    picture.save (path, "PNG", pnginfo = info, dpi = (72, 72), optimize = True)


# ---------------------------------------------------------------- the maker's badge

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


# ---------------------------------------------------------------- the device panel

def draw_chassis (canvas):
    width = DEVICE_SIZE[0]
    size = canvas.size
    face = vertical_gradient ((px (width), px (PANEL_BOTTOM)), [(0, (44, 47, 52)), (1, (34, 37, 41))])
    face = add_noise (face, 5150, 7, stretch = 24)
    canvas.paste (face, (0, 0))

    # Front edge of the chassis, lit from above, and the shadow it throws on the page area.
    shadow (canvas, rounded_mask (size, (-10, 0, width + 10, CHASSIS_BOTTOM), 2), (0, 2.5), 3.5, 200)
    front = rounded_mask (size, (-10, PANEL_BOTTOM, width + 10, CHASSIS_BOTTOM), 1.5)
    paint_gradient (canvas, front, (0, PANEL_BOTTOM, width, CHASSIS_BOTTOM),
                    [(0, (112, 118, 126)), (0.18, (62, 66, 72)), (1, (18, 19, 22))])

    # Left end cheek.
    cheek = rounded_mask (size, (-6, -6, 9, PANEL_BOTTOM), 3)
    paint_gradient (canvas, cheek, (0, 0, 9, PANEL_BOTTOM), [(0, (26, 27, 30)), (1, (18, 19, 21))])
    draw = ImageDraw.Draw (canvas)
    draw.line (box (9, 0, 9, PANEL_BOTTOM), fill = (78, 82, 88), width = px (0.8))

    # Divider between the master section and the channel strips.
    draw.line (box (168, 0, 168, PANEL_BOTTOM - 6), fill = (20, 21, 24), width = px (1))
    draw.line (box (169, 0, 169, PANEL_BOTTOM - 6), fill = (66, 70, 76), width = px (0.7))

    for x in (20, 159):
        draw_screw (canvas, (x, PANEL_BOTTOM - 7))


def draw_screw (canvas, centre):
    cx, cy = centre
    size = canvas.size
    head = ellipse_mask (size, (cx - 3.2, cy - 3.2, cx + 3.2, cy + 3.2))
    shadow (canvas, head, (0.4, 0.8), 0.8, 160)
    paint_gradient (canvas, head, (cx - 3.2, cy - 3.2, cx + 3.2, cy + 3.2), [(0, (150, 154, 160)), (1, (70, 73, 78))])
    draw = ImageDraw.Draw (canvas)
    draw.line (box (cx - 2, cy - 2, cx + 2, cy + 2), fill = (40, 42, 46), width = px (0.8))
    draw.line (box (cx - 2, cy + 2, cx + 2, cy - 2), fill = (40, 42, 46), width = px (0.8))


def draw_button (canvas, area, led = None, lit = False, radius = 2):
    """A rubber push button; `led` is the colour of its LED window, bright when `lit`."""
    size = canvas.size
    x0, y0, x1, y1 = area
    body = rounded_mask (size, area, radius)
    shadow (canvas, body, (0, 1.2), 1.0, 190)
    paint_gradient (canvas, body, area, [(0, (96, 100, 106)), (0.12, (70, 73, 78)), (1, (46, 48, 52))])

    if led is None:
        return

    window = (x0 + 3, y0 + 2.2, x1 - 3, y0 + 4.4)
    colour = led if lit else mix (led, (30, 30, 30), 0.75)
    paint (canvas, rounded_mask (size, window, 1), colour)
    if lit:
        glow (canvas, ((x0 + x1) / 2, y0 + 3.3), 14, led, 150)


def draw_encoder (canvas, centre, value):
    """An endless encoder with an LED ring lit up to `value` (0..1)."""
    cx, cy = centre
    size = canvas.size
    dots = 11
    for i in range (dots):
        angle = math.radians (225 - 270 * i / (dots - 1))
        dx, dy = cx + 13 * math.cos (angle), cy - 13 * math.sin (angle)
        on = i / (dots - 1) <= value
        colour = (255, 170, 40) if on else (74, 58, 40)
        paint (canvas, ellipse_mask (size, (dx - 1.1, dy - 1.1, dx + 1.1, dy + 1.1)), colour)
        if on:
            glow (canvas, (dx, dy), 5, (255, 150, 30), 110)

    knob = ellipse_mask (size, (cx - 9, cy - 9, cx + 9, cy + 9))
    shadow (canvas, knob, (0.5, 1.8), 1.6, 210)
    paint_gradient (canvas, knob, (cx - 9, cy - 9, cx + 9, cy + 9), [(0, (70, 73, 78)), (1, (22, 23, 26))])

    draw = ImageDraw.Draw (canvas)
    for i in range (36):
        angle = math.radians (i * 10)
        draw.line (box (cx + 7.3 * math.cos (angle), cy + 7.3 * math.sin (angle),
                        cx + 8.8 * math.cos (angle), cy + 8.8 * math.sin (angle)), fill = (16, 17, 19), width = px (0.5))

    cap = ellipse_mask (size, (cx - 6.4, cy - 6.4, cx + 6.4, cy + 6.4))
    paint_gradient (canvas, cap, (cx - 6.4, cy - 6.4, cx + 6.4, cy + 6.4), [(0, (88, 92, 98)), (1, (38, 40, 44))])
    angle = math.radians (225 - 270 * value)
    draw.line (box (cx + 2 * math.cos (angle), cy - 2 * math.sin (angle),
                    cx + 5.8 * math.cos (angle), cy - 5.8 * math.sin (angle)), fill = (235, 235, 235), width = px (1.1))


def draw_fader (canvas, cx, top, bottom, position):
    """A fader slot with its scale and a cap at `position` (0 bottom .. 1 top)."""
    size = canvas.size
    draw = ImageDraw.Draw (canvas)
    for i in range (11):
        y = top + 3 + (bottom - top - 6) * i / 10
        length = 5 if i % 5 == 0 else 3
        draw.line (box (cx - 8 - length, y, cx - 8, y), fill = SILKSCREEN, width = px (0.6))
        draw.line (box (cx + 8, y, cx + 8 + length, y), fill = SILKSCREEN, width = px (0.6))

    rim = rounded_mask (size, (cx - 2.8, top - 1, cx + 2.8, bottom + 1), 2.8)
    paint_gradient (canvas, rim, (cx - 2.8, top - 1, cx + 2.8, bottom + 1), [(0, (22, 23, 26)), (1, (92, 97, 104))])
    slot = rounded_mask (size, (cx - 1.8, top, cx + 1.8, bottom), 1.8)
    paint (canvas, slot, (6, 6, 7))

    y = bottom - 7 - (bottom - top - 14) * position
    cap_area = (cx - 12, y - 6.5, cx + 12, y + 6.5)
    cap = rounded_mask (size, cap_area, 2)
    shadow (canvas, cap, (0.6, 3), 2.2, 220)
    paint_gradient (canvas, cap, cap_area,
                    [(0, (214, 217, 222)), (0.45, (150, 154, 160)), (0.55, (122, 126, 132)), (1, (172, 176, 182))])
    draw.line (box (cx - 10.5, y, cx + 10.5, y), fill = (250, 250, 250), width = px (1.1))
    draw.line (box (cx - 12, y - 6.4, cx + 12, y - 6.4), fill = (236, 238, 241), width = px (0.5))


def draw_channel_strip (canvas, index, cx, settings):
    encoder, fader, lit_buttons = settings
    small = font ("DejaVuSans-Bold.ttf", 5.2)

    draw_encoder (canvas, (cx, 19), encoder)
    text (canvas, (cx, 38), str (index + 1), font ("DejaVuSans-Bold.ttf", 6.5), SILKSCREEN, "mm")

    leds = [(235, 40, 30), (250, 190, 30), (40, 220, 90), (240, 240, 240)]
    names = ["REC", "SOLO", "MUTE", "SEL"]
    for row in range (2):
        for col in range (2):
            n = row * 2 + col
            x0 = cx - 19 if col == 0 else cx + 2
            y0 = 43 + row * 16
            draw_button (canvas, (x0, y0, x0 + 17, y0 + 9), leds[n], n in lit_buttons)
            text (canvas, (x0 + 8.5, y0 + 12.3), names[n], small, SILKSCREEN, "mm", 0.3)

    draw_fader (canvas, cx, 81, 157, fader)


def draw_display (canvas):
    size = canvas.size
    bezel = rounded_mask (size, (17, 9, 155, 52), 3)
    shadow (canvas, bezel, (0, 1), 1.2, 150)
    paint_gradient (canvas, bezel, (17, 9, 155, 52), [(0, (12, 13, 15)), (1, (28, 30, 33))])

    screen_area = (21, 13, 151, 48)
    screen = rounded_mask (size, screen_area, 1.5)
    paint_gradient (canvas, screen, screen_area, [(0, (40, 112, 214)), (1, (22, 70, 168))])
    glass = rounded_mask (size, (21, 13, 151, 24), 1.5)
    paint (canvas, glass.point (lambda v: v * 28 // 255), (255, 255, 255))

    mono = font ("DejaVuSansMono-Bold.ttf", 9.5)
    text (canvas, (27, 23), "VT-5150     v1.31", mono, (232, 244, 255), "lm")
    text (canvas, (27, 38), "BANK 1   CH 1-8", mono, (232, 244, 255), "lm")


def draw_transport (canvas):
    draw = ImageDraw.Draw (canvas)
    icon = (205, 210, 216)
    left = 17
    for i in range (5):
        x0 = left + i * 28
        draw_button (canvas, (x0, 96, x0 + 24, 110), radius = 2.5)
        cx, cy = x0 + 12, 103
        if i == 0:
            draw.polygon ([(px (cx + 0.5), px (cy - 3)), (px (cx - 4), px (cy)), (px (cx + 0.5), px (cy + 3))], fill = icon)
            draw.polygon ([(px (cx + 5), px (cy - 3)), (px (cx + 0.5), px (cy)), (px (cx + 5), px (cy + 3))], fill = icon)
        elif i == 1:
            draw.polygon ([(px (cx - 5), px (cy - 3)), (px (cx - 0.5), px (cy)), (px (cx - 5), px (cy + 3))], fill = icon)
            draw.polygon ([(px (cx - 0.5), px (cy - 3)), (px (cx + 4), px (cy)), (px (cx - 0.5), px (cy + 3))], fill = icon)
        elif i == 2:
            draw.rectangle (box (cx - 2.8, cy - 2.8, cx + 2.8, cy + 2.8), fill = icon)
        elif i == 3:
            draw.polygon ([(px (cx - 2.5), px (cy - 3.5)), (px (cx + 3.5), px (cy)), (px (cx - 2.5), px (cy + 3.5))],
                          fill = (60, 220, 100))
        else:
            draw.ellipse (box (cx - 3, cy - 3, cx + 3, cy + 3), fill = (235, 45, 35))


def draw_power_button (canvas):
    size = canvas.size
    cx, cy = 33, 137
    ring = ellipse_mask (size, (cx - 12.5, cy - 12.5, cx + 12.5, cy + 12.5))
    paint (canvas, ring, (20, 21, 23))
    led = ImageChops.subtract (ring, ellipse_mask (size, (cx - 10.5, cy - 10.5, cx + 10.5, cy + 10.5)))
    paint (canvas, led.point (lambda v: v * 230 // 255), (255, 52, 40))
    glow (canvas, (cx, cy), 34, (255, 40, 30), 120)

    cap_area = (cx - 9, cy - 9, cx + 9, cy + 9)
    cap = ellipse_mask (size, cap_area)
    shadow (canvas, cap, (0, 1.5), 1.4, 200)
    paint_gradient (canvas, cap, cap_area, [(0, (92, 96, 102)), (1, (40, 42, 46))])

    draw = ImageDraw.Draw (canvas)
    symbol = (220, 224, 230)
    draw.arc (box (cx - 4.5, cy - 4, cx + 4.5, cy + 5), 300, 240, fill = symbol, width = px (1.2))
    draw.line (box (cx, cy - 5.5, cx, cy), fill = symbol, width = px (1.3))

    text (canvas, (52, 132), "POWER", font ("DejaVuSans-Bold.ttf", 6.5), SILKSCREEN, "lm", 0.8)
    text (canvas, (52, 142), "HOLD + DC IN: UPDATE", font ("DejaVuSans.ttf", 4.6), (130, 136, 144), "lm", 0.3)


def draw_master_section (canvas):
    draw_display (canvas)
    text (canvas, (17, 68), "VT-5150", font ("DejaVuSans-Bold.ttf", 15), (222, 226, 232), "lm")
    text (canvas, (18, 83), "MIDI CONTROL SURFACE", font ("DejaVuSans.ttf", 6), SILKSCREEN, "lm", 1.05)
    draw_transport (canvas)
    draw_power_button (canvas)


def draw_page_area (canvas):
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
    canvas.paste (draw_page_area (canvas), (0, px (CHASSIS_BOTTOM)))
    draw_chassis (canvas)
    draw_master_section (canvas)

    strips = [(0.55, 0.62, {2}), (0.30, 0.71, {0}), (0.80, 0.48, set ()), (0.45, 0.71, {3}),
              (0.15, 0.34, {2}), (0.65, 0.57, set ()), (1.00, 0.80, {1}), (0.40, 0.25, set ())]
    for index, settings in enumerate (strips):
        draw_channel_strip (canvas, index, 197.5 + 47 * index, settings)

    draw_badge (canvas, 14, 343, (186, 204, 230))
    finish (canvas, DEVICE_SIZE, path)


# ---------------------------------------------------------------- the about picture

def draw_about_picture (path):
    width, height = ABOUT_SIZE
    canvas = vertical_gradient ((px (width), px (height)),
                                [(0, NAVY), (0.15, NAVY), (0.151, BLUE_TOP), (0.5, (24, 66, 124)),
                                 (0.849, mix (BLUE_TOP, BLUE_BOTTOM, 0.55)), (0.85, NAVY), (1, NAVY)])
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
    finish (canvas, ABOUT_SIZE, path)


def draw_fader_emblem (canvas):
    """Three fader slots with caps, in light strokes: the product's mark beside the about text."""
    size = canvas.size
    draw = ImageDraw.Draw (canvas)
    line = (118, 160, 214)
    for i, position in enumerate ((0.35, 0.75, 0.5)):
        cx = 46 + i * 22
        draw.line (box (cx, 48, cx, 136), fill = line, width = px (1.4))
        y = 130 - 76 * position
        cap = rounded_mask (size, (cx - 8, y - 5, cx + 8, y + 5), 2)
        shadow (canvas, cap, (0, 2), 2, 140)
        paint_gradient (canvas, cap, (cx - 8, y - 5, cx + 8, y + 5), [(0, (226, 234, 246)), (1, (150, 176, 212))])
        draw.line (box (cx - 6, y, cx + 6, y), fill = (60, 96, 150), width = px (0.8))


def main ():
    folder = pathlib.Path (sys.argv[1]) if len (sys.argv) > 1 else pathlib.Path (__file__).resolve ().parent.parent / "resources"
    folder.mkdir (parents = True, exist_ok = True)
    draw_device_picture (folder / "VT5150.png")
    draw_about_picture (folder / "About.png")


if __name__ == "__main__":
    main ()
