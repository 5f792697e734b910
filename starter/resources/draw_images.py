#!/usr/bin/env python3
"""Draws the starter's pictures and icon into images/ (run by hand after a
change; the build uses the committed files).

Needs Python Pillow, DejaVu Sans and a Nanum font (Debian: python3-pil,
fonts-dejavu-core, fonts-nanum; scripts/bootstrap.sh installs them).
Sizes follow the window layouts: the large pages are 780 x 380, the small
layout 247 x 86; button strips hold four pictures side by side (normal,
disabled, hover, pressed). Words in pictures are brand names or carry both
languages.
"""
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "images")

NAVY = (0x1B, 0x2A, 0x41)
PANEL = (0x24, 0x3B, 0x55)
TEAL = (0x1F, 0xA6, 0xA0)
HOVER = (0x27, 0xC2, 0xBA)
PRESSED = (0x16, 0x86, 0x80)
GREY = (0x8A, 0x94, 0xA6)
WHITE = (0xFF, 0xFF, 0xFF)
LIGHT_PANEL = (247, 247, 247)  # the window's own panel and control colour
FRAME_FILL = (230, 230, 230)   # the small layout's framed fill
STATE_COLOURS = (TEAL, GREY, HOVER, PRESSED)

DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
DEJAVU_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
NANUM_BOLD = "/usr/share/fonts/truetype/nanum/NanumGothicBold.ttf"


def font(path, size):
    return ImageFont.truetype(path, size)


def blend(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def vertical_gradient(img, box, top, bottom):
    d = ImageDraw.Draw(img)
    x0, y0, x1, y1 = box
    for y in range(y0, y1):
        d.line([(x0, y), (x1 - 1, y)], fill=blend(top, bottom, (y - y0) / max(1, y1 - y0 - 1)))


def mark(d, x, y, size, colour=TEAL):
    """The brand mark: a rounded square with a play triangle."""
    d.rounded_rectangle([x, y, x + size, y + size], radius=size // 4, fill=colour)
    s = size
    d.polygon([(x + s * 0.38, y + s * 0.28), (x + s * 0.38, y + s * 0.72), (x + s * 0.74, y + s * 0.5)],
              fill=WHITE)


def star(cx, cy, outer, inner):
    """Five-pointed star, one point up."""
    points = []
    for k in range(10):
        r = outer if k % 2 == 0 else inner
        a = math.pi / 2 + k * math.pi / 5
        points.append((cx + r * math.cos(a), cy - r * math.sin(a)))
    return points


def text_width(d, text, f):
    box = d.textbbox((0, 0), text, font=f)
    return box[2] - box[0]


def mixed_text(d, x, y, parts):
    """Draws (text, font, colour) pieces one after another on one baseline."""
    for text, f, colour in parts:
        d.text((x, y), text, font=f, fill=colour, anchor="ls")
        x += text_width(d, text, f)
    return x


def mixed_width(d, parts):
    return sum(text_width(d, t, f) for t, f, _ in parts)


def save_bmp(img, name):
    img.convert("RGB").save(os.path.join(OUT, name), format="BMP")


def strip(width, height, corner, draw_face):
    """Four pictures side by side; `corner` is the colour around the button."""
    img = Image.new("RGB", (width * 4, height), corner)
    for i, colour in enumerate(STATE_COLOURS):
        face = Image.new("RGB", (width, height), corner)
        d = ImageDraw.Draw(face)
        inset = 1 if i == 3 else 0  # pressed sinks in by a pixel
        d.rounded_rectangle([inset, inset, width - 1 - inset, height - 1 - inset],
                            radius=min(6, height // 3), fill=colour)
        if i != 1:
            d.line([(6, 1 + inset), (width - 7, 1 + inset)], fill=blend(colour, WHITE, 0.35))
        draw_face(d, width, height, i, inset)
        img.paste(face, (i * width, 0))
    return img


def labelled_button(name, width, height, corner, english, korean, icon):
    latin = font(DEJAVU_BOLD, 13)
    hangul = font(NANUM_BOLD, 13)

    def face(d, w, h, state, inset):
        colour = (0xE4, 0xE8, 0xEE) if state == 1 else WHITE
        parts = [(english, latin, colour), ("  ", latin, colour), (korean, hangul, colour)]
        total = mixed_width(d, parts) + 22
        x = (w - total) // 2 + inset
        icon(d, x, h // 2 - 7 + inset, colour)
        mixed_text(d, x + 22, h // 2 + 5 + inset, parts)

    save_bmp(strip(width, height, corner, face), name)


def icon_install(d, x, y, colour):
    d.line([(x + 7, y), (x + 7, y + 9)], fill=colour, width=2)
    d.polygon([(x + 2, y + 6), (x + 12, y + 6), (x + 7, y + 12)], fill=colour)
    d.line([(x, y + 14), (x + 14, y + 14)], fill=colour, width=2)


def icon_cancel(d, x, y, colour):
    d.line([(x + 2, y + 2), (x + 12, y + 12)], fill=colour, width=2)
    d.line([(x + 12, y + 2), (x + 2, y + 12)], fill=colour, width=2)


def icon_folder(d, x, y, colour, fill=None):
    d.rectangle([x, y + 3, x + 15, y + 13], outline=colour, fill=fill, width=1)
    d.polygon([(x, y + 3), (x + 5, y + 3), (x + 7, y + 1), (x, y + 1)], fill=colour)


def draw_logo():
    """261: top band of the small layout (247 x 56); below it the window's
    framed fill carries its texts."""
    img = Image.new("RGB", (247, 56), NAVY)
    vertical_gradient(img, (0, 0, 247, 56), PANEL, NAVY)
    d = ImageDraw.Draw(img)
    mark(d, 12, 12, 30)
    d.text((52, 34), "Ludoria", font=font(DEJAVU_BOLD, 21), fill=WHITE, anchor="ls")
    d.text((53, 47), "Starter", font=font(DEJAVU, 10), fill=HOVER, anchor="ls")
    d.line([(0, 54), (246, 54)], fill=TEAL, width=2)
    save_bmp(img, "logo.bmp")


def draw_background():
    """305: the large pages. The web panels sit at (11,33)-(415,370) and
    (423,33)-(770,184) and stay hidden until their pages have loaded, so
    their places show a calm placeholder."""
    img = Image.new("RGB", (780, 380), NAVY)
    d = ImageDraw.Draw(img)
    vertical_gradient(img, (0, 0, 780, 28), PANEL, NAVY)
    mark(d, 10, 5, 18)
    d.text((34, 20), "Ludoria", font=font(DEJAVU_BOLD, 14), fill=WHITE, anchor="ls")
    d.line([(0, 28), (779, 28)], fill=TEAL)
    # Advertisement place.
    d.rounded_rectangle([11, 33, 414, 369], radius=6, fill=PANEL)
    for i in range(6):
        r = 40 + i * 26
        d.arc([213 - r, 201 - r, 213 + r, 201 + r], 200, 340, fill=blend(PANEL, TEAL, 0.10 + 0.05 * i))
    mark(d, 183, 171, 60, blend(PANEL, TEAL, 0.55))
    # Rating place.
    d.rounded_rectangle([423, 33, 769, 183], radius=6, fill=PANEL)
    for i in range(5):
        cx = 545 + i * 26
        d.polygon(star(cx, 108, 11, 4.5), fill=blend(PANEL, TEAL, 0.45 if i < 4 else 0.25))
    save_bmp(img, "background.bmp")


def draw_edges():
    """306 top (780 x 2), 307 right (5 x 380), 308 bottom (780 x 5): the frame
    of the borderless large window."""
    top = Image.new("RGB", (780, 2), TEAL)
    save_bmp(top, "edge_top.bmp")
    right = Image.new("RGB", (5, 380), NAVY)
    ImageDraw.Draw(right).line([(4, 0), (4, 379)], fill=TEAL)
    save_bmp(right, "edge_right.bmp")
    bottom = Image.new("RGB", (780, 5), NAVY)
    ImageDraw.Draw(bottom).line([(0, 4), (779, 4)], fill=TEAL)
    save_bmp(bottom, "edge_bottom.bmp")


def draw_folder_label():
    """304: heading of the install folder page, on the light panel."""
    img = Image.new("RGB", (250, 16), LIGHT_PANEL)
    d = ImageDraw.Draw(img)
    icon_folder(d, 0, 1, TEAL, fill=blend(LIGHT_PANEL, TEAL, 0.25))
    parts = [("Install folder", font(DEJAVU_BOLD, 11), NAVY), ("  ·  ", font(DEJAVU, 11), GREY),
             ("설치 폴더", font(NANUM_BOLD, 12), NAVY)]
    mixed_text(d, 22, 12, parts)
    save_bmp(img, "folder_label.bmp")


def draw_buttons():
    labelled_button("btn_start_install.bmp", 150, 36, NAVY, "Install", "설치", icon_install)
    labelled_button("btn_cancel.bmp", 150, 36, NAVY, "Cancel", "취소", icon_cancel)

    def minimise(d, w, h, state, inset):
        d.line([(6 + inset, h - 6 + inset), (w - 7 + inset, h - 6 + inset)], fill=WHITE, width=2)

    def close(d, w, h, state, inset):
        icon_cancel(d, (w - 14) // 2 + inset, (h - 14) // 2 + inset, WHITE)

    save_bmp(strip(20, 18, NAVY, minimise), "btn_minimize.bmp")
    save_bmp(strip(20, 18, NAVY, close), "btn_close.bmp")

    def browse(d, w, h, state, inset):
        icon_folder(d, (w - 16) // 2 - 6 + inset, (h - 14) // 2 + inset, WHITE)
        for i in range(3):
            x = w // 2 + 7 + i * 4 + inset
            d.rectangle([x, h - 7 + inset, x + 1, h - 6 + inset], fill=WHITE)

    save_bmp(strip(56, 21, LIGHT_PANEL, browse), "btn_select_dir.bmp")
    save_bmp(strip(52, 20, FRAME_FILL, close), "btn_cancel_small.bmp")


def draw_icon():
    """32773: the program icon."""
    sizes = [16, 24, 32, 48, 64]
    big = Image.new("RGBA", (256, 256), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    d.rounded_rectangle([8, 8, 247, 247], radius=52, fill=NAVY + (255,))
    mark(d, 48, 48, 160)
    big.save(os.path.join(OUT, "starter.ico"), sizes=[(s, s) for s in sizes])


def main():
    os.makedirs(OUT, exist_ok=True)
    draw_logo()
    draw_background()
    draw_edges()
    draw_folder_label()
    draw_buttons()
    draw_icon()
    return 0


if __name__ == "__main__":
    sys.exit(main())
