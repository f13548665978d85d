#!/usr/bin/python3
"""Renders a Quillmark job file with Pillow, as a short user script would.

    /usr/bin/python3 bench/pillow_peer.py FONT_LIST.json JOB.json

The peer of the comparison in bench/peer_bench.py: the same canvases, fonts
and kind of work (text cut into characters, lines broken by width or
right-to-left columns, fitting by lowering the size one step at a time, an
outline, a blurred drop shadow, one PNG per canvas), written the plain way.
It does not try to give Quillmark's pixels. Outputs are written relative to
the current folder, as Quillmark writes them.

It is written as a careful user would write it: the outline's radius is half
its width (Pillow's stroke_width is a radius, an outline's width is centred
on the glyph's edge), the shadow is blurred only over the text's box and
three sigmas around it, where all of its ink lies, no font is opened for a
fitting step that does not measure with it, and each font measures each of
its characters once.
"""
import json
import math
import sys
from functools import lru_cache

from PIL import Image, ImageColor, ImageDraw, ImageFilter, ImageFont

MIN_SIZE = 5


@lru_cache(maxsize=None)
def load_font(path, size):
    return ImageFont.truetype(path, size)


@lru_cache(maxsize=None)
def opacity_table(opacity):
    return [round(a * opacity) for a in range(256)]


def rgba(colour, opacity=1.0):
    if not colour or colour == "none":
        return (0, 0, 0, 0)
    r, g, b, a = ImageColor.getcolor(colour, "RGBA")
    return (r, g, b, round(a * opacity))


@lru_cache(maxsize=None)
def char_length(font, ch):
    """A character's advance: a font measures each of its characters once."""
    return font.getlength(ch)


def break_lines(text, font, width):
    """Lines no wider than `width`, broken between any two characters."""
    lines, line, line_width = [], "", 0.0
    for ch in text:
        w = char_length(font, ch)
        if line and line_width + w > width:
            lines.append(line)
            line, line_width = "", 0.0
        line += ch
        line_width += w
    if line:
        lines.append(line)
    return lines


def lay_out_lines(ui, path, size, line_height, area, fit, follow_font):
    """The font and [(position, line)] of horizontal text."""
    x, y, w, h = area
    while True:
        font = load_font(path, size)
        if follow_font:
            ascent, descent = font.getmetrics()
            line_height = ascent + descent
        lines = break_lines(ui.get("default", ""), font, w)
        if not fit or len(lines) * line_height <= h or size <= MIN_SIZE:
            break
        size -= 1
    placed = []
    for i, line in enumerate(lines):
        spare = max(0, w - font.getlength(line))
        shift = {1: spare, 2: spare / 2}.get(ui.get("align", 0), 0)
        placed.append(((x + shift, y + i * line_height), line))
    return font, placed


def lay_out_columns(ui, path, size, column_width, area, fit, follow_font):
    """The font and [(position, character)] of vertical columns, right to
    left, one character to a cell of one em."""
    text = ui.get("default", "")
    x, y, w, h = area
    while True:
        # Cells are one em: the fitting needs no font, only the final size.
        if follow_font:
            column_width = size
        per_column = max(1, h // size)
        columns = [text[i:i + per_column] for i in range(0, len(text), per_column)]
        if not fit or len(columns) * column_width <= w or size <= MIN_SIZE:
            break
        size -= 1
    font = load_font(path, size)
    placed = []
    for j, column in enumerate(columns):
        left = x + w - (j + 1) * column_width
        spare = max(0, h - len(column) * size)
        top = y + {1: spare, 2: spare / 2}.get(ui.get("align", 0), 0)
        for k, ch in enumerate(column):
            l, _, r, _ = font.getbbox(ch)
            placed.append(((left + (column_width - (r - l)) / 2 - l, top + k * size), ch))
    return font, placed


def render(canvas, fonts):
    ui = canvas["ui"]
    size = tuple(canvas["size"])
    scale = ui.get("scale", 1)
    path = fonts.get(ui.get("font"), fonts[min(fonts)])
    area = ui.get("area", [0, 0, size[0], size[1]])
    fit = ui.get("adjustToFit") is True
    follow_font = fit or ui.get("ignoreLineHeight") is True
    lay_out = lay_out_columns if ui.get("direction", 0) != 0 else lay_out_lines
    font, placed = lay_out(ui, path, int(ui.get("size", 0) * scale),
                           int(ui.get("line_height", 0) * scale), area, fit, follow_font)

    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(layer)
    fill = rgba(ui.get("fill", "black"))
    # Pillow's stroke_width is a radius: half the outline's width, rounded
    # half up (Pillow takes whole pixels).
    stroke_width = int(ui.get("width", 0) / 2 + 0.5) if ui.get("stroke") else 0
    for xy, text in placed:
        draw.text(xy, text, font=font, fill=fill,
                  stroke_width=stroke_width, stroke_fill=rgba(ui.get("stroke")))
    if stroke_width > 0 and ui.get("strokeOverFill") is not True:
        # The outline lies under the fill: the fill is drawn again over it.
        for xy, text in placed:
            draw.text(xy, text, font=font, fill=fill)

    with_shadow(layer, ui).save(canvas["output"])


def with_shadow(layer, ui):
    """The drawn text over its drop shadow (the layer itself without one).

    The text's alpha, blurred and coloured, moved along the angle (0 throws
    it left, 90 down), under the text. Only the text's box and three sigmas
    around it can hold shadow.
    """
    blur, opacity = ui.get("s_size", 0), ui.get("s_alpha", 0)
    if not (blur > 0 and opacity > 0):
        return layer
    alpha = layer.getchannel("A")
    box = alpha.getbbox()
    if box is None:
        return layer
    size = layer.size
    margin = math.ceil(3 * blur)
    box = (max(0, box[0] - margin), max(0, box[1] - margin),
           min(size[0], box[2] + margin), min(size[1], box[3] + margin))
    alpha = alpha.crop(box).filter(ImageFilter.GaussianBlur(blur))
    shadow = Image.new("RGBA", alpha.size, rgba(ui.get("shadow", "black")))
    shadow.putalpha(alpha.point(opacity_table(opacity)))
    angle, distance = math.radians(ui.get("s_angle", 0)), ui.get("s_dist", 0)
    image = Image.new("RGBA", size, (0, 0, 0, 0))
    image.paste(shadow, (box[0] + round(-distance * math.cos(angle)),
                         box[1] + round(distance * math.sin(angle))))
    image.alpha_composite(layer)
    return image


def main():
    if len(sys.argv) < 3:
        sys.exit("use: pillow_peer.py FONT_LIST.json JOB.json")
    with open(sys.argv[1], encoding="utf-8") as f:
        fonts = json.load(f)
    with open(sys.argv[2], encoding="utf-8") as f:
        job = json.load(f)
    for canvas in job:
        render(canvas, fonts)


if __name__ == "__main__":
    main()
