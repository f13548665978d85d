#!/usr/bin/python3
"""Renders shaped banners of a Quillmark job file with Pillow and raqm.

    /usr/bin/python3 bench/raqm_peer.py FONT_LIST.json JOB.json

The peer of bench/shaped_bench.py: a careful user's script doing the same
work as Quillmark with "shape": true on horizontal banners. Pillow's raqm
layout shapes and reorders each line (HarfBuzz, FriBiDi); lines are broken
between grapheme clusters by their shaped width (found by bisection), the
size lowered one step at a time until the lines fit the area; each line is drawn with an outline
(Pillow's stroke is a radius: half of ImageMagick's width) under the fill,
the shadow blurred only over the text's box plus three sigmas, one PNG per
canvas. Fonts stay open across fitting steps and canvases. It does not try
to give Quillmark's pixels. Outputs are written relative to the current
folder.
"""
import json
import sys
import unicodedata
from functools import lru_cache

from PIL import Image, ImageDraw, ImageFont

# The colours and the drop shadow as the plain peer makes them.
from pillow_peer import rgba, with_shadow

MIN_SIZE = 5


@lru_cache(maxsize=None)
def load_font(path, size):
    return ImageFont.truetype(path, size, layout_engine=ImageFont.Layout.RAQM)


def clusters(text):
    """The text cut before every character that is not a mark or a joiner:
    grapheme clusters, near enough for these scripts."""
    out = []
    for ch in text:
        joins = unicodedata.category(ch) in ("Mn", "Mc", "Me") or ch in "\u200c\u200d"
        if out and (joins or out[-1].endswith("\u094d")):  # after a virama too
            out[-1] += ch
        else:
            out.append(ch)
    return out


def break_lines(units, font, width):
    """Lines no wider than `width` as shaped, broken between clusters: each
    line's end found by bisection over its shaped length."""
    lines, start = [], 0
    while start < len(units):
        lo, hi = start + 1, len(units)  # the line is units[start:lo] at least
        while lo < hi:
            mid = (lo + hi + 1) // 2
            if font.getlength("".join(units[start:mid])) <= width:
                lo = mid
            else:
                hi = mid - 1
        lines.append("".join(units[start:lo]))
        start = lo
    return lines


def lay_out(ui, path, size, area):
    x, y, w, h = area
    units = clusters(ui.get("default", ""))
    while True:
        font = load_font(path, size)
        ascent, descent = font.getmetrics()
        line_height = ascent + descent
        lines = break_lines(units, font, w)
        if len(lines) * line_height <= h or size <= MIN_SIZE:
            break
        size -= 1
    placed = []
    for i, line in enumerate(lines):
        spare = max(0, w - font.getlength(line))
        # Right-to-left text starts at the right.
        rtl = any(unicodedata.bidirectional(c) in ("R", "AL") for c in line)
        align = ui.get("align", 0)
        if rtl and align in (0, 1):
            align = 1 - align
        shift = {1: spare, 2: spare / 2}.get(align, 0)
        placed.append(((x + shift, y + i * line_height), line))
    return font, placed


def render(canvas, fonts):
    ui = canvas["ui"]
    size = tuple(canvas["size"])
    path = fonts[ui["font"]]
    area = ui.get("area", [0, 0, size[0], size[1]])
    font, placed = lay_out(ui, path, int(ui.get("size", 0)), area)

    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(layer)
    fill = rgba(ui.get("fill", "black"))
    radius = ui.get("width", 0) / 2 if ui.get("stroke") else 0
    for xy, text in placed:
        draw.text(xy, text, font=font, fill=fill, stroke_width=round(radius),
                  stroke_fill=rgba(ui.get("stroke")))
    if radius > 0 and ui.get("strokeOverFill") is not True:
        for xy, text in placed:
            draw.text(xy, text, font=font, fill=fill)

    with_shadow(layer, ui).save(canvas["output"])


def main():
    if len(sys.argv) < 3:
        sys.exit("use: raqm_peer.py FONT_LIST.json JOB.json")
    if not ImageFont.core.HAVE_RAQM:
        sys.exit("raqm_peer.py: this Pillow has no raqm layout (libraqm0)")
    with open(sys.argv[1], encoding="utf-8") as f:
        fonts = json.load(f)
    with open(sys.argv[2], encoding="utf-8") as f:
        job = json.load(f)
    for canvas in job:
        render(canvas, fonts)


if __name__ == "__main__":
    main()
