#!/usr/bin/python3
"""Draws the pictures of ManCpLdStarter: the dialog background (bitmap 131),
the four-image strips of the install, cancel and close buttons (132, 133, 138)
and the program icon (130). The build uses the committed output; run this
again after changing it:  /usr/bin/python3 installer/resources/draw_images.py

No text in the pictures: the dialog paints its texts from the string table of
the user's language, and the buttons carry their names as tool-tips.
"""
import os

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))

NAVY = (0x1B, 0x2A, 0x41)
PANEL = (0x24, 0x3B, 0x55)
TEAL = (0x1F, 0xA6, 0xA0)
HOVER = (0x27, 0xC2, 0xBA)
PRESSED = (0x16, 0x86, 0x80)
GREY = (0x8A, 0x94, 0xA6)
WHITE = (0xFF, 0xFF, 0xFF)
# The buttons draw every pixel of this colour as transparent; it must not be
# smoothed into the edges, so the button shapes are drawn without blending.
KEY = (0, 0, 255)

WIDTH, HEIGHT = 407, 282
BUTTON_W, BUTTON_H = 71, 28
# The dialog paints its texts in dark grey between y 155 and 221 and the
# progress bar at y 182..188: that band must be light.
CARD = (16, 140, WIDTH - 16, 206)


def logo(draw, cx, cy, r, ring, fill):
    """A teal disc with a downward arrow: "put the starter on this machine"."""
    draw.ellipse((cx - r, cy - r, cx + r, cy + r), fill=ring)
    inner = r - max(2, r // 8)
    draw.ellipse((cx - inner, cy - inner, cx + inner, cy + inner), fill=fill)
    arrow(draw, cx, cy, r * 0.55, NAVY if fill != NAVY else WHITE)


def arrow(draw, cx, cy, size, colour):
    shaft = size * 0.28
    draw.rectangle((cx - shaft, cy - size, cx + shaft, cy + size * 0.1), fill=colour)
    draw.polygon([(cx - size * 0.8, cy), (cx + size * 0.8, cy), (cx, cy + size)], fill=colour)


def background():
    img = Image.new("RGB", (WIDTH, HEIGHT), NAVY)
    d = ImageDraw.Draw(img)
    # A few soft bands give the header some depth without any text.
    for i, y in enumerate(range(0, 120, 8)):
        shade = tuple(int(a + (b - a) * i / 15) for a, b in zip(PANEL, NAVY))
        d.rectangle((0, y, WIDTH, y + 7), fill=shade)
    logo(d, WIDTH // 2, 70, 42, TEAL, PANEL)
    d.rounded_rectangle(CARD, radius=10, fill=WHITE)
    d.rectangle((CARD[0], CARD[3] - 3, CARD[2], CARD[3]), fill=WHITE)
    d.line((CARD[0] + 10, CARD[1] + 2, CARD[2] - 10, CARD[1] + 2), fill=TEAL, width=2)
    d.rectangle((0, HEIGHT - 4, WIDTH, HEIGHT), fill=TEAL)
    img.save(os.path.join(HERE, "background.bmp"))


def glyph_install(d, x, colour):
    arrow(d, x + BUTTON_W / 2, BUTTON_H / 2 - 2, 8, colour)
    d.rectangle((x + BUTTON_W / 2 - 10, BUTTON_H - 8, x + BUTTON_W / 2 + 10, BUTTON_H - 6),
                fill=colour)


def glyph_cancel(d, x, colour):
    cx, cy, s = x + BUTTON_W / 2, BUTTON_H / 2, 7
    d.line((cx - s, cy - s, cx + s, cy + s), fill=colour, width=3)
    d.line((cx - s, cy + s, cx + s, cy - s), fill=colour, width=3)


def glyph_close(d, x, colour):
    # A door with an arrow leaving it.
    cx, cy = x + BUTTON_W / 2, BUTTON_H / 2
    d.rectangle((cx - 12, cy - 8, cx - 2, cy + 8), outline=colour, width=2)
    d.rectangle((cx - 4, cy - 1, cx + 7, cy + 1), fill=colour)
    d.polygon([(cx + 6, cy - 5), (cx + 12, cy), (cx + 6, cy + 5)], fill=colour)


def strip(name, glyph):
    img = Image.new("RGB", (BUTTON_W * 4, BUTTON_H), KEY)
    d = ImageDraw.Draw(img)
    looks = [(TEAL, WHITE), (HOVER, WHITE), (PRESSED, WHITE), (GREY, PANEL)]
    for i, (face, ink) in enumerate(looks):
        x = i * BUTTON_W
        d.rounded_rectangle((x, 0, x + BUTTON_W - 1, BUTTON_H - 1), radius=6, fill=face)
        glyph(d, x, ink)
    # Rounded corners must keep pure key pixels; the shape is already drawn
    # without blending, and the glyphs stay inside the face.
    img.save(os.path.join(HERE, name))


def icon():
    sizes = [(16, 16), (32, 32), (48, 48)]
    big = Image.new("RGBA", (48, 48), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    d.rounded_rectangle((0, 0, 47, 47), radius=9, fill=NAVY + (255,))
    logo(d, 24, 24, 19, TEAL, NAVY)
    big.save(os.path.join(HERE, "installer.ico"), sizes=sizes)


if __name__ == "__main__":
    background()
    strip("button_install.bmp", glyph_install)
    strip("button_cancel.bmp", glyph_cancel)
    strip("button_close.bmp", glyph_close)
    icon()
