#!/usr/bin/env python3
"""Draws the soundboard's pictures as SVG and renders them to the PNGs (and
the program icon) under assets/soundboard/, which soundboard/app/Quobly.rc
embeds, and the caption-button sprite of the UI framework, which is compiled
in as a byte array (soundboard/ui/ExCaptionSprite.inc).

One look for all of them: a dark studio skin (charcoal and graphite, a soft
top light, thin highlights) with a warm red accent.

The title-bar strips are cut by the framework at every frame step with a cut
wider than the step (26 and 29 pixels of step for a 33-pixel cut) and then
squeezed into a 25-pixel-wide button, so each frame keeps its drawing inside
the columns no neighbouring cut reaches, centred on its cut, and is drawn
pre-widened so that it looks round again once squeezed.

Needs rsvg-convert (librsvg2-bin), ImageMagick and the DejaVu fonts.
Run: tools/make-soundboard-art.py
"""
import os
import shutil
import subprocess
import sys
import tempfile

from svg_art import gradient, render_svg, svg

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "assets", "soundboard")
SPRITE_INC = os.path.join(ROOT, "soundboard", "ui", "ExCaptionSprite.inc")

INK = "#E9E6E4"
RED = "#E0393E"
RED_DEEP = "#8E1B20"
CHARCOAL = "#15161A"
GRAPHITE = "#24262C"


def render(text, path, width, height):
    render_svg(text, path, width, height)
    # Smallest faithful PNG: 32-bit RGBA, no text chunks or timestamps.
    subprocess.run(["convert", path, "-strip", "-define", "png:color-type=6", path], check=True)


def skin():
    w, h = 540, 400
    defs = (gradient("body", [(0, "#2A2C33", 1), (0.22, "#1C1D22", 1), (1, "#111216", 1)]) +
            gradient("band", [(0, "#FFFFFF", 0.10), (1, "#FFFFFF", 0.0)]) +
            gradient("accent", [(0, RED, 0), (0.2, RED, 1), (0.8, RED, 1), (1, RED, 0)], vertical=False) +
            gradient("well", [(0, "#000000", 0.45), (1, "#000000", 0.25)]) +
            '<radialGradient id="glow" cx="0.5" cy="0" r="0.8">'
            f'<stop offset="0" stop-color="{RED}" stop-opacity="0.18"/>'
            f'<stop offset="1" stop-color="{RED}" stop-opacity="0"/></radialGradient>'
            '<pattern id="grain" width="4" height="4" patternUnits="userSpaceOnUse">'
            '<rect width="4" height="1" fill="#FFFFFF" fill-opacity="0.018"/></pattern>')
    # A quiet level meter in the title band, bars of a frozen spectrum.
    levels = [5, 9, 14, 11, 17, 22, 16, 12, 19, 24, 18, 13, 9, 15, 20, 14, 10, 7, 11, 6]
    meter = "".join(
        f'<rect x="{236 + i * 7}" y="{52 - v}" width="4" height="{v}" rx="1" '
        f'fill="{RED if v > 18 else INK}" fill-opacity="{0.55 if v > 18 else 0.16}"/>' for i, v in enumerate(levels))
    body = (f'<rect width="{w}" height="{h}" fill="url(#body)"/>'
            f'<rect width="{w}" height="{h}" fill="url(#grain)"/>'
            f'<rect width="{w}" height="150" fill="url(#glow)"/>'
            f'<rect width="{w}" height="62" fill="url(#band)"/>'
            f'<rect y="62" width="{w}" height="1" fill="#000000" fill-opacity="0.6"/>'
            f'<rect y="63" width="{w}" height="1.5" fill="url(#accent)" fill-opacity="0.85"/>'
            f'{meter}'
            # The well behind the sound buttons and the footer strip of the help line.
            f'<rect x="14" y="132" width="{w - 28}" height="214" rx="8" fill="url(#well)"/>'
            f'<rect x="14.5" y="132.5" width="{w - 29}" height="213" rx="8" fill="none" '
            f'stroke="#FFFFFF" stroke-opacity="0.07"/>'
            f'<rect y="{h - 44}" width="{w}" height="44" fill="#000000" fill-opacity="0.28"/>'
            f'<rect y="{h - 44}" width="{w}" height="1" fill="#FFFFFF" fill-opacity="0.06"/>'
            f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="6" fill="none" '
            f'stroke="#FFFFFF" stroke-opacity="0.08"/>')
    render(svg(w, h, body, defs), os.path.join(OUT, "skin.png"), w, h)


def tab_icons():
    # 20 x 23: a microphone (host), a megaphone (shout), a grin (comic).
    stroke = f'fill="none" stroke="{INK}" stroke-width="1.7" stroke-linecap="round" stroke-linejoin="round"'
    icons = {
        "tab-host.png": (f'<rect x="6.5" y="2.5" width="7" height="11" rx="3.5" fill="{RED}"/>'
                         f'<path d="M4 10.5a6 6 0 0 0 12 0M10 16.5v3.5M6.5 20.5h7" {stroke}/>'),
        "tab-shout.png": (f'<path d="M3 9.5h3l8-5v14l-8-5H3z" fill="{RED}"/>'
                          f'<path d="M6.5 14l1.5 5" {stroke}/>'
                          f'<path d="M16.5 9a3 3 0 0 1 0 5" {stroke}/>'),
        "tab-comic.png": (f'<circle cx="10" cy="11.5" r="7.8" fill="{RED}"/>'
                          f'<circle cx="7.3" cy="9.3" r="1.2" fill="{CHARCOAL}"/>'
                          f'<circle cx="12.7" cy="9.3" r="1.2" fill="{CHARCOAL}"/>'
                          f'<path d="M6 12.8q4 4.5 8 0z" fill="{CHARCOAL}"/>'),
    }
    for name, body in icons.items():
        render(svg(20, 23, body), os.path.join(OUT, name), 20, 23)


def drop_button():
    """Two 20 x 26 frames side by side, as the combo box cuts them: closed
    (a chevron down) and open (lit red, the chevron up). The combo draws a
    frame over its right-hand 20 pixels."""
    defs = (gradient("face", [(0, "#3A3D45", 1), (1, "#24262C", 1)]) +
            gradient("lit", [(0, RED, 0.95), (1, RED_DEEP, 0.95)]))
    chevron = (f'fill="none" stroke="{INK}" stroke-width="1.8" stroke-linecap="round" '
               'stroke-linejoin="round"')
    frames = []
    for k, (face, path) in enumerate([("url(#face)", "M6 11.5l4 4 4-4"), ("url(#lit)", "M6 14.5l4-4 4 4")]):
        frames.append(f'<g transform="translate({k * 20} 0)">'
                      f'<rect x="0.5" y="0.5" width="19" height="25" rx="3" fill="{face}" stroke="#000000" '
                      'stroke-opacity="0.55"/>'
                      '<rect x="1.5" y="1.5" width="17" height="1" fill="#FFFFFF" fill-opacity="0.12"/>'
                      f'<path d="{path}" {chevron}/></g>')
    render(svg(40, 26, "".join(frames), defs), os.path.join(OUT, "drop.png"), 40, 26)


def program_icon(work):
    defs = (gradient("disc", [(0, "#34363E", 1), (1, "#131418", 1)]) +
            gradient("ring", [(0, "#FF6A6E", 1), (1, RED_DEEP, 1)]))
    bars = "".join(f'<rect x="{8.5 + i * 3.2}" y="{16 - v / 2}" width="2" height="{v}" rx="1" fill="{INK}"/>'
                   for i, v in enumerate([4, 9, 14, 8, 12, 5]))
    body = ('<circle cx="16" cy="16" r="15" fill="url(#ring)"/>'
            '<circle cx="16" cy="16" r="12.5" fill="url(#disc)"/>' + bars)
    png = os.path.join(work, "icon.png")
    render(svg(32, 32, body, defs), png, 32, 32)
    subprocess.run(["convert", png, "-define", "icon:auto-resize=32", os.path.join(OUT, "Quobly.ico")], check=True)


# ---- title-bar strips --------------------------------------------------------

GLYPHS = {
    # Drawn in a 14 x 14 box centred on the origin.
    "close": f'<path d="M-4.5 -4.5L4.5 4.5M4.5 -4.5L-4.5 4.5" stroke="{INK}" stroke-width="1.8" '
             'stroke-linecap="round"/>',
    "minimise": f'<path d="M-5 3.5H5" stroke="{INK}" stroke-width="1.8" stroke-linecap="round"/>',
    "topmost": f'<path d="M-3 -5.5h6M-2 -5.5v4l-2.5 2.5h9l-2.5 -2.5v-4M0 1v5" fill="none" stroke="{INK}" '
               'stroke-width="1.5" stroke-linecap="round" stroke-linejoin="round"/>',
}


def strip(name, glyph, width, step, cut, button_width):
    """Four cells (normal, hover, pressed, disabled); frame k is centred on
    its cut and kept clear of the neighbouring cuts."""
    squeeze = cut / button_width  # the framework narrows the cut to the button
    safe = min(cut, 2 * step - cut)  # columns only this frame's cut sees
    radius = min(safe / squeeze, 22) / 2 - 0.5
    frames = []
    looks = [(None, 0.78), ((RED, 0.55), 1.0), ((RED_DEEP, 0.85), 1.0), (None, 0.3)]
    for k, (backdrop, ink) in enumerate(looks):
        centre = k * step + cut / 2
        back = ""
        if backdrop:
            colour, alpha = backdrop
            if name == "close":
                back = (f'<rect x="{-cut / 2 + 1}" y="-12" width="{cut - 2}" height="24" rx="4" fill="{colour}" '
                        f'fill-opacity="{alpha}"/>')
            else:
                back = (f'<ellipse rx="{radius * squeeze}" ry="{radius}" fill="{colour}" fill-opacity="{alpha}"/>')
        frames.append(f'<g transform="translate({centre} 13)">{back}'
                      f'<g transform="scale({squeeze} 1)" opacity="{ink}">{glyph}</g></g>')
    render(svg(width, 26, "".join(frames)), os.path.join(OUT, f"title-{name}.png"), width, 26)


def caption_sprite(work):
    """The framework's own caption buttons: four glyphs (close, maximise,
    restore, minimise) across, three looks (normal, hover, pressed) down;
    cells of 28 x 20."""
    glyphs = [GLYPHS["close"],
              f'<rect x="-4.5" y="-4" width="9" height="8" rx="1" fill="none" stroke="{INK}" stroke-width="1.5"/>',
              f'<path d="M-2.5 -4.5h6.5v6.5" fill="none" stroke="{INK}" stroke-width="1.3"/>'
              f'<rect x="-4.5" y="-2" width="6.5" height="6.5" fill="none" stroke="{INK}" stroke-width="1.3"/>',
              f'<path d="M-4.5 3H4.5" stroke="{INK}" stroke-width="1.8" stroke-linecap="round"/>']
    looks = [None, ("#FFFFFF", 0.14), ("#000000", 0.35)]
    cells = []
    for row, look in enumerate(looks):
        for column, glyph in enumerate(glyphs):
            back = ""
            if look:
                colour, alpha = (RED, 0.8) if column == 0 and row > 0 else look
                back = f'<rect x="-13" y="-9" width="26" height="18" rx="3" fill="{colour}" fill-opacity="{alpha}"/>'
            cells.append(f'<g transform="translate({column * 28 + 14} {row * 20 + 10})">{back}{glyph}</g>')
    png = os.path.join(work, "caption.png")
    render(svg(112, 60, "".join(cells)), png, 112, 60)
    data = open(png, "rb").read()
    lines = [", ".join(f"0x{b:02X}" for b in data[i:i + 16]) for i in range(0, len(data), 16)]
    with open(SPRITE_INC, "w") as out:
        out.write("// Generated by tools/make-soundboard-art.py: the caption-button sprite (PNG).\n")
        out.write(",\n".join(lines) + "\n")


def main():
    for tool in ("rsvg-convert", "convert"):
        if shutil.which(tool) is None:
            sys.exit(f"{tool} is missing: run tools/setup-debian.sh")
    os.makedirs(OUT, exist_ok=True)
    work = tempfile.mkdtemp()
    try:
        skin()
        tab_icons()
        drop_button()
        program_icon(work)
        strip("close", GLYPHS["close"], 135, 34, 33, 33)
        strip("minimise", GLYPHS["minimise"], 103, 26, 33, 25)
        strip("topmost", GLYPHS["topmost"], 115, 29, 33, 25)
        caption_sprite(work)
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
