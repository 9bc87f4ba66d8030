#!/usr/bin/env python3
"""Draws the uninstaller's pictures as SVG and renders them to the PNGs (and
the icon) under assets/uninstaller/, which the resource script embeds.

One look for all of them: a clean blue-on-white scheme, crisp one-pixel
borders, and slices that stay exact when the toolkit stretches them (the
middle of every nine-slice picture is uniform along its stretch direction).

Needs rsvg-convert (librsvg2-bin), ImageMagick, the DejaVu fonts and
WenQuanYi Micro Hei (fonts-wqy-microhei) for the Chinese text.
Run: tools/make-uninstaller-art.py
"""
import os
import shutil
import subprocess
import sys

from svg_art import gradient, render_svg, svg

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "assets", "uninstaller")

# Palette
BLUE = "#2F6FED"
BLUE_DARK = "#1F4FB8"
BLUE_LIGHT = "#E8F0FE"
BORDER = "#B9C6DA"
FOOTER = "#F3F5F9"
RED = "#E5484D"
RED_DARK = "#C13338"
FONT = "DejaVu Sans"


def render(name, width, height, text):
    target = os.path.join(OUT, name)
    render_svg(text, target, width, height)
    return target


# Buttons ---------------------------------------------------------------------

def button_frame(x, size_w, size_h, fill_top, fill_bottom, border, radius, name):
    """One button face: a rounded rectangle with a vertical gradient."""
    grad = gradient(name, [(0, fill_top), (1, fill_bottom)])
    body = (f'<rect x="{x + 0.5}" y="0.5" width="{size_w - 1}" height="{size_h - 1}" rx="{radius}" '
            f'fill="url(#{name})" stroke="{border}" stroke-width="1"/>'
            f'<line x1="{x + radius + 0.5}" y1="1.5" x2="{x + size_w - radius - 0.5}" y2="1.5" '
            f'stroke="#FFFFFF" stroke-opacity="0.7"/>')
    return grad, body


def button_strip(name, faces, frame=29):
    defs, body = "", ""
    for index, (top, bottom, border) in enumerate(faces):
        d, b = button_frame(index * frame, frame, frame, top, bottom, border, 4, f"g{index}")
        defs += d
        body += b
    render(name, frame * len(faces), frame, svg(frame * len(faces), frame, body, defs))


def main_buttons():
    # 60073 cancel: neutral; 60074 uninstall: the blue action. Frames:
    # normal, hover, pressed.
    button_strip("60073.png", [("#FFFFFF", "#EEF1F6", "#B4C0D3"),
                               ("#FFFFFF", "#E6EEFD", BLUE),
                               ("#DDE6F6", "#E9EEF7", BLUE_DARK)])
    button_strip("60074.png", [("#E3ECFD", "#CFDEFB", BLUE),
                               ("#D7E4FD", "#BFD3FA", "#1F5CD6"),
                               ("#BCD0F8", "#CCDBF9", "#1A4BB3")])


def message_buttons():
    faces = {
        "60001.png": ("#FFFFFF", "#EEF1F6", "#B4C0D3"),  # normal
        "60002.png": ("#FFFFFF", "#E6EEFD", BLUE),  # hover
        "60003.png": ("#DDE6F6", "#E9EEF7", BLUE_DARK),  # pressed
        "60004.png": ("#FFFFFF", "#E6EEFD", BLUE),  # released
        "60005.png": ("#F6F7F9", "#F1F3F6", "#D5DAE1"),  # disabled
    }
    for name, (top, bottom, border) in faces.items():
        d, b = button_frame(0, 69, 21, top, bottom, border, 2, "g")
        render(name, 69, 21, svg(69, 21, b, d))


def close_buttons():
    cross = ('<path d="M14.5 4.5 L23.5 13.5 M23.5 4.5 L14.5 13.5" stroke="#FFFFFF" '
             'stroke-width="1.6" stroke-linecap="round"/>')
    render("60006.png", 38, 18, svg(38, 18, cross))
    render("PV_IDB_CLOSE2.png", 38, 18, svg(38, 18, f'<rect width="38" height="18" rx="2" fill="{RED}"/>' + cross))
    render("PV_IDB_CLOSE3.png", 38, 18,
           svg(38, 18, f'<rect width="38" height="18" rx="2" fill="{RED_DARK}"/>' + cross))


def check_boxes():
    """60036 to 60039, the 15 x 15 check box by state: unchecked, unchecked
    with hover, checked with hover, checked."""
    tick = ('<path d="M3.8 7.8 L6.4 10.3 L11.3 4.9" fill="none" stroke="#FFFFFF" stroke-width="1.8" '
            'stroke-linecap="round" stroke-linejoin="round"/>')
    faces = [("60036.png", "#FFFFFF", "#A9B6CB", False),
             ("60037.png", "#F2F6FE", BLUE, False),
             ("60038.png", BLUE_DARK, BLUE_DARK, True),
             ("60039.png", BLUE, BLUE, True)]
    for name, fill, border, checked in faces:
        body = (f'<rect x="0.5" y="0.5" width="14" height="14" rx="2.5" fill="{fill}" stroke="{border}"/>' +
                (tick if checked else ""))
        render(name, 15, 15, svg(15, 15, body))


# Backgrounds -----------------------------------------------------------------

def default_background():
    """60051, nine-slice with 30-row top and bottom bands and 3-column sides."""
    w, h = 186, 150
    defs = gradient("title", [(0, "#3D7EF2"), (1, "#2C66DD")])
    body = (f'<g shape-rendering="crispEdges">'
            f'<rect width="{w}" height="{h}" fill="#FFFFFF"/>'
            f'<rect width="{w}" height="30" fill="url(#title)"/>'
            f'<rect width="{w}" height="1" fill="#6A9CF6"/>'
            f'<rect y="{h - 30}" width="{w}" height="30" fill="{FOOTER}"/>'
            f'<rect y="{h - 30}" width="{w}" height="1" fill="#E1E6EE"/>'
            f'<rect x="0" y="30" width="1" height="{h - 30}" fill="{BORDER}"/>'
            f'<rect x="{w - 1}" y="30" width="1" height="{h - 30}" fill="{BORDER}"/>'
            f'<rect y="{h - 1}" width="{w}" height="1" fill="{BORDER}"/>'
            f'<rect x="0" y="0" width="1" height="30" fill="#2A5FC9"/>'
            f'<rect x="{w - 1}" y="0" width="1" height="30" fill="#2A5FC9"/>'
            f'</g>')
    render("60051.png", w, h, svg(w, h, body, defs))


def main_panel():
    """60052, the main dialog's card: a heading with the program's badge (its
    right part stays clear for the eraser, which ends its walk there), the
    white band for the question and the buttons, and a footer that says what
    an uninstall removes."""
    w, h = 437, 141
    cjk = "WenQuanYi Micro Hei"
    defs = (gradient("head", [(0, "#EAF1FE"), (1, "#FFFFFF")]) +
            gradient("tile", [(0, "#4A84F4"), (1, BLUE_DARK)]) +
            f'<clipPath id="card"><rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="6"/></clipPath>')
    badge = ('<rect x="18" y="13" width="24" height="24" rx="5" fill="url(#tile)"/>'
             '<g transform="translate(30 25) rotate(12)">'
             '<rect x="-4.5" y="-8" width="9" height="16" rx="1.6" fill="#F79A9A"/>'
             '<rect x="-5" y="-5.5" width="10" height="8" rx="0.8" fill="#FFFFFF"/></g>')
    body = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="6" fill="#FFFFFF"/>'
            f'<g clip-path="url(#card)">'
            f'<rect width="{w}" height="46" fill="url(#head)"/>'
            f'<rect width="{w}" height="3" fill="{BLUE}"/>'
            f'<rect y="{h - 30}" width="{w}" height="30" fill="{FOOTER}"/>'
            f'<rect y="{h - 30}" width="{w}" height="1" fill="#E6EAF1"/>'
            f'</g>'
            + badge +
            f'<text x="52" y="30" font-family="{cjk}" font-size="15" font-weight="bold" fill="#1F2937">Tesk软件 卸载程序</text>'
            f'<text x="18" y="{h - 11}" font-family="{cjk}" font-size="11" fill="#8A94A6">'
            '卸载将删除程序文件、开始菜单项、桌面快捷方式和注册信息</text>'
            f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="6" fill="none" stroke="{BORDER}"/>')
    render("60052.png", w, h, svg(w, h, body, defs))


# Progress --------------------------------------------------------------------

def progress_strip():
    """60026, the band the eraser rubs out: blue with diagonal stripes."""
    w, h = 279, 23
    defs = (gradient("shine", [(0, "#FFFFFF"), (0.5, "#FFFFFF"), (1, "#000000")]) +
            '<pattern id="stripes" width="14" height="23" patternUnits="userSpaceOnUse" '
            'patternTransform="skewX(-35)">'
            f'<rect width="14" height="23" fill="{BLUE}"/><rect width="7" height="23" fill="#5B8FF3"/></pattern>'
            f'<clipPath id="track"><rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="11"/></clipPath>')
    body = (f'<g clip-path="url(#track)"><rect width="{w}" height="{h}" fill="url(#stripes)"/>'
            f'<rect width="{w}" height="{h}" fill="url(#shine)" opacity="0.18"/></g>'
            f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="11" fill="none" stroke="{BLUE_DARK}"/>')
    render("60026.png", w, h, svg(w, h, body, defs))


def eraser():
    """60027, the eraser bearing the word Uninstall that walks along the band."""
    w, h = 137, 157
    defs = (gradient("rubber", [(0, "#F79A9A"), (1, "#EC6B72")]) +
            gradient("sleeve", [(0, "#4A84F4"), (1, "#2A62D8")]))
    crumbs = "".join(f'<circle cx="{x}" cy="{y}" r="{r}" fill="#EC8A8F"/>'
                     for x, y, r in [(22, 149, 2.2), (31, 153, 1.6), (13, 153, 1.4), (40, 151, 1.2)])
    body = (f'<ellipse cx="70" cy="149" rx="34" ry="4" fill="#1F2937" opacity="0.16"/>' + crumbs +
            '<g transform="translate(66 75) rotate(12)">'
            # rubber tip and its darker worn face
            '<rect x="-36" y="-64" width="72" height="128" rx="9" fill="url(#rubber)" stroke="#C9505A" '
            'stroke-width="1.5"/>'
            '<rect x="-36" y="52" width="72" height="12" rx="6" fill="#D95561" opacity="0.55"/>'
            # paper sleeve with the word
            '<rect x="-37.5" y="-44" width="75" height="72" rx="3" fill="url(#sleeve)" stroke="#1F4FB8" '
            'stroke-width="1.5"/>'
            '<rect x="-37" y="-41" width="74" height="3" fill="#FFFFFF" opacity="0.35"/>'
            f'<text x="0" y="-4" font-family="{FONT}" font-weight="bold" font-size="13.5" fill="#FFFFFF" '
            'text-anchor="middle">Uninstall</text>'
            '<rect x="-24" y="7" width="48" height="2.5" rx="1.2" fill="#FFFFFF" opacity="0.6"/>'
            '<rect x="-16" y="14" width="32" height="2.5" rx="1.2" fill="#FFFFFF" opacity="0.4"/>'
            # highlight along the rubber's edge
            '<rect x="-31" y="-60" width="4" height="14" rx="2" fill="#FFFFFF" opacity="0.45"/>'
            '</g>')
    render("60027.png", w, h, svg(w, h, body, defs))


# Message pictures --------------------------------------------------------------

def badge(colour, glyph):
    return f'<circle cx="16" cy="16" r="15" fill="{colour}"/>' + glyph


def message_pictures():
    info = ('<circle cx="16" cy="9.5" r="2.3" fill="#FFFFFF"/>'
            '<rect x="14" y="13.5" width="4" height="11" rx="1.6" fill="#FFFFFF"/>')
    question = (f'<text x="16" y="23" font-family="{FONT}" font-weight="bold" font-size="19" fill="#FFFFFF" '
                'text-anchor="middle">?</text>')
    render("60056.png", 32, 32, svg(32, 32, badge(BLUE, info)))
    render("60057.png", 32, 32, svg(32, 32, badge(BLUE, question)))


def crash_picture():
    """60061, the crash notice's whole message: a crying face beside a red
    notice band that says the program failed and will close by itself."""
    w, h = 256, 80
    defs = (gradient("face", [(0, "#FFE08A"), (1, "#F7B733")]) +
            gradient("band", [(0, "#EE5A5F"), (1, RED_DARK)]))
    face = ('<circle cx="38" cy="40" r="30" fill="url(#face)" stroke="#D9961A" stroke-width="1.5"/>'
            # closed, sorry eyes and brows
            '<path d="M22 36 Q27 40 32 36 M44 36 Q49 40 54 36" fill="none" stroke="#5B3A0A" '
            'stroke-width="2.2" stroke-linecap="round"/>'
            '<path d="M21 28 L31 25 M55 28 L45 25" stroke="#5B3A0A" stroke-width="2" stroke-linecap="round"/>'
            # downturned mouth
            '<path d="M28 57 Q38 48 48 57" fill="none" stroke="#5B3A0A" stroke-width="2.4" '
            'stroke-linecap="round"/>'
            # tears
            '<path d="M25 41 Q22 48 25 51 Q28 48 25 41 Z" fill="#4DA3FF"/>'
            '<path d="M51 41 Q48 48 51 51 Q54 48 51 41 Z" fill="#4DA3FF"/>')
    cjk = "WenQuanYi Micro Hei"
    band = ('<rect x="80.5" y="14.5" width="171" height="51" rx="6" fill="url(#band)" stroke="#A82A2F"/>'
            '<rect x="86" y="17" width="160" height="1.5" rx="0.75" fill="#FFFFFF" opacity="0.35"/>'
            f'<text x="166" y="36" font-family="{cjk}" font-size="15" font-weight="bold" fill="#FFFFFF" '
            'text-anchor="middle">程序运行出错了</text>'
            f'<text x="166" y="56" font-family="{cjk}" font-size="12" fill="#FFE9EA" '
            'text-anchor="middle">即将自动关闭，敬请谅解</text>')
    render("60061.png", w, h, svg(w, h, face + band, defs))


# Program icon ------------------------------------------------------------------

def icon(magick):
    sizes = [16, 24, 32, 48, 256]
    defs = gradient("tile", [(0, "#4A84F4"), (1, BLUE_DARK)])
    detail = ('<g transform="translate(50 54) rotate(12)">'
              '<rect x="-17" y="-30" width="34" height="60" rx="5" fill="#F79A9A"/>'
              '<rect x="-18" y="-21" width="36" height="34" rx="2" fill="#FFFFFF"/>'
              '<rect x="-12" y="-8" width="24" height="3.5" rx="1.5" fill="#2F6FED"/></g>'
              '<rect x="18" y="84" width="64" height="5" rx="2.5" fill="#FFFFFF" opacity="0.55"/>')
    text = svg(100, 100, '<rect x="2" y="2" width="96" height="96" rx="20" fill="url(#tile)"/>' + detail, defs)
    pngs = [render(f"icon-{size}.png", size, size, text) for size in sizes]
    subprocess.run([magick] + pngs + [os.path.join(OUT, "pvUninstall.ico")], check=True)
    for png in pngs:
        os.unlink(png)


def find_magick():
    # The real ImageMagick: a plain "convert" may be some other program's
    # wrapper that flattens transparency.
    for name in ("convert-im6.q16", "magick", "convert"):
        path = shutil.which(name)
        if path:
            return path
    sys.exit("ImageMagick is missing")


def main():
    if shutil.which("rsvg-convert") is None:
        sys.exit("rsvg-convert is missing: apt-get install librsvg2-bin")
    os.makedirs(OUT, exist_ok=True)
    main_buttons()
    message_buttons()
    close_buttons()
    check_boxes()
    default_background()
    main_panel()
    progress_strip()
    eraser()
    message_pictures()
    crash_picture()
    icon(find_magick())


if __name__ == "__main__":
    main()
