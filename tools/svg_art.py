"""Small SVG helpers shared by the art generators: documents, gradients and
rendering to PNG through rsvg-convert (librsvg2-bin)."""
import os
import subprocess
import tempfile


def svg(width, height, body, defs=""):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}"><defs>{defs}</defs>{body}</svg>')


def gradient(name, stops, vertical=True):
    """A linear gradient; each stop is (offset, colour) or (offset, colour, opacity)."""
    end = 'x2="0" y2="1"' if vertical else 'x2="1" y2="0"'
    parts = ""
    for stop in stops:
        opacity = f' stop-opacity="{stop[2]}"' if len(stop) > 2 else ""
        parts += f'<stop offset="{stop[0]}" stop-color="{stop[1]}"{opacity}/>'
    return f'<linearGradient id="{name}" x1="0" y1="0" {end}>{parts}</linearGradient>'


def render_svg(text, path, width, height):
    """Renders an SVG document to a PNG of exactly width x height."""
    with tempfile.NamedTemporaryFile("w", suffix=".svg", delete=False) as handle:
        handle.write(text)
        source = handle.name
    try:
        subprocess.run(["rsvg-convert", "-w", str(width), "-h", str(height), "-o", path, source], check=True)
    finally:
        os.unlink(source)
