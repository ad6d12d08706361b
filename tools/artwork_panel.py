"""The part of the VT-5150's top panel shown in the upper band of the device picture."""

import math

from PIL import ImageChops, ImageDraw

from artwork_drawing import (add_noise, box, ellipse_mask, font, glow, mix, paint, paint_gradient, px,
                             rounded_mask, shadow, text, vertical_gradient)

PANEL_WIDTH = 550
PANEL_BOTTOM = 164       # last row of the panel's top face
CHASSIS_BOTTOM = 172     # the chassis front edge ends here; the page area starts below
SILKSCREEN = (178, 184, 192)


def draw_chassis (canvas):
    width = PANEL_WIDTH
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


def draw_channel_strips (canvas):
    strips = [(0.55, 0.62, {2}), (0.30, 0.71, {0}), (0.80, 0.48, set ()), (0.45, 0.71, {3}),
              (0.15, 0.34, {2}), (0.65, 0.57, set ()), (1.00, 0.80, {1}), (0.40, 0.25, set ())]
    for index, settings in enumerate (strips):
        draw_channel_strip (canvas, index, 197.5 + 47 * index, settings)


def draw_panel (canvas):
    """Draws the panel, its chassis edge and the shadow that edge throws below it."""
    draw_chassis (canvas)
    draw_master_section (canvas)
    draw_channel_strips (canvas)
