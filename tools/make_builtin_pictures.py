#!/usr/bin/env python3
"""Draws the player's built-in pictures (resource type "DDS") and the backgrounds and object
pictures of its demo project (particles, sprites, the leaf) as PNG files.

Usage: tools/make_builtin_pictures.py [output folder] [demo folder]
       (defaults: assets/pictures and assets/demo)

Writes one <id>.png per built-in picture id and prints the manifest lines for them, then the
demo's backgrounds and the objects' pictures by name. Only the standard library
is used; the output is the same on every run. The text art among the pictures (the glyph strip
40.png) is drawn by the text_art tool instead:
text_art glyph-strip assets/pictures/40.png 0123456789ABCDEFGHJKLMNPRSTVWXYZ 32 30.
"""

import math
import os
import struct
import sys
import zlib


# ---- PNG writing ----------------------------------------------------------------------------

def png_bytes(width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples, top row first."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def png_rgb_bytes(width, height, pixels):
    """pixels: rows of (r, g, b) tuples, top row first. Each row is stored as its difference to
    the row above (PNG filter "Up"), which keeps smooth backgrounds small."""
    raw = bytearray()
    above = bytes(width * 3)
    for row in pixels:
        line = bytes(c for pixel in row for c in pixel)
        raw.append(2)  # filter "Up"
        raw += bytes((a - b) & 0xFF for a, b in zip(line, above))
        above = line

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)  # 8-bit RGB
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def clamp8(v):
    return max(0, min(255, int(round(v * 255.0))))


def render(size, shade, height=None):
    """shade(u, v) -> (r, g, b, a) floats in [0, 1], u and v in [-1, 1] at pixel centres."""
    height = height or size
    rows = []
    for y in range(height):
        v = (y + 0.5) / height * 2.0 - 1.0
        row = []
        for x in range(size):
            u = (x + 0.5) / size * 2.0 - 1.0
            row.append(tuple(clamp8(c) for c in shade(u, v)))
        rows.append(row)
    return size, height, rows


def smoothstep(e0, e1, x):
    t = max(0.0, min(1.0, (x - e0) / (e1 - e0)))
    return t * t * (3.0 - 2.0 * t)


def hue(h):
    """A saturated colour for h in [0, 1)."""
    r = abs(h * 6.0 - 3.0) - 1.0
    g = 2.0 - abs(h * 6.0 - 2.0)
    b = 2.0 - abs(h * 6.0 - 4.0)
    return tuple(max(0.0, min(1.0, c)) for c in (r, g, b))


# ---- shapes: each answers an alpha (coverage) for (u, v) ------------------------------------

def soft_dot(u, v, sharp=2.5):
    return math.exp(-sharp * 2.0 * (u * u + v * v)) * smoothstep(1.0, 0.85, math.hypot(u, v))


def hard_dot(u, v):
    return smoothstep(0.75, 0.65, math.hypot(u, v))


def ring(u, v, radius=0.65, width=0.12):
    d = abs(math.hypot(u, v) - radius)
    return math.exp(-(d / width) ** 2 * 2.0)


def star(u, v, points=5, inner=0.35, turn=-math.pi / 2):
    r = math.hypot(u, v)
    a = math.atan2(v, u) - turn
    sector = 2.0 * math.pi / points
    t = abs(((a % sector) / sector) * 2.0 - 1.0)  # 1 at a point, 0 between points
    edge = inner + (0.95 - inner) * t ** 1.5
    return smoothstep(edge, edge - 0.08, r)


def sparkle(u, v, rays=4, thin=14.0):
    r = math.hypot(u, v)
    a = math.atan2(v, u)
    rays_value = abs(math.cos(a * rays / 2.0)) ** thin
    return max(soft_dot(u, v, 6.0), rays_value * smoothstep(1.0, 0.0, r))


def spark(u, v):
    # A streak along u: bright head on the right, fading tail.
    along = smoothstep(-1.0, 0.7, u) * smoothstep(1.0, 0.7, u)
    return along * math.exp(-(v / 0.12) ** 2)


def diamond(u, v):
    return smoothstep(0.8, 0.7, abs(u) + abs(v))


def glow(u, v):
    r = math.hypot(u, v)
    return smoothstep(1.0, 0.0, r) ** 2.2


# ---- noise ------------------------------------------------------------------------------------

def lattice(seed, period):
    """Random values on a period x period lattice from a fixed linear congruential sequence."""
    state = seed
    values = []
    for _ in range(period * period):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        values.append((state >> 8) / float(1 << 23))
    return values


def value_noise(seed, period):
    grid = lattice(seed, period)

    def sample(x, y):  # x, y in lattice units; tiles with the period
        x0, y0 = math.floor(x), math.floor(y)
        fx, fy = x - x0, y - y0
        sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)

        def at(i, j):
            return grid[(j % period) * period + (i % period)]

        top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx
        bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx
        return top + (bottom - top) * sy

    return sample


def fractal(seed, base, octaves):
    """A tiling fractal noise over [0, 1) x [0, 1) in [0, 1]."""
    layers = [value_noise(seed + 977 * o, base << o) for o in range(octaves)]

    def sample(s, t):
        total, weight, amplitude = 0.0, 0.0, 1.0
        for o, layer in enumerate(layers):
            n = base << o
            total += layer(s * n, t * n) * amplitude
            weight += amplitude
            amplitude *= 0.5
        return total / weight

    return sample


def tile(size, shade):
    """shade(s, t) with s, t in [0, 1) over one tile."""
    return render(size, lambda u, v: shade((u + 1.0) * 0.5, (v + 1.0) * 0.5))


def noise_tile(size, seed, base, octaves, tint=(1.0, 1.0, 1.0)):
    n = fractal(seed, base, octaves)
    return tile(size, lambda s, t: tuple(c * n(s, t) for c in tint) + (1.0,))


def bump_tile(size, seed, base, octaves, strength):
    """A height field as slopes: red and green hold 0.5 plus the x and y slopes, blue the height."""
    n = fractal(seed, base, octaves)
    step = 1.0 / size

    def shade(s, t):
        h = n(s, t)
        dx = (n((s + step) % 1.0, t) - n((s - step) % 1.0, t)) / (2 * step)
        dy = (n(s, (t + step) % 1.0) - n(s, (t - step) % 1.0)) / (2 * step)
        return (0.5 + dx * strength, 0.5 + dy * strength, h, 1.0)

    return tile(size, shade)


def ripple_tile(size, rings):
    """Circular waves that tile: a sum of cosines of the distance to the four corners' centres."""
    def shade(s, t):
        total = 0.0
        for cx, cy in ((0.5, 0.5), (0.0, 0.0), (1.0, 0.0), (0.0, 1.0), (1.0, 1.0)):
            d = math.hypot(s - cx, t - cy)
            total += math.cos(d * rings * 2.0 * math.pi) * smoothstep(0.75, 0.0, d)
        value = 0.5 + 0.25 * total
        return (value * 0.7, value * 0.9, value, 1.0)

    return tile(size, shade)


def flame_tongues(s, t, seed):
    """Heat of a row of flame tongues at s across (tiling) and t down (1 at the foot): each column
    burns up to a height of its own, hot and opaque at the foot and fading towards its tip."""
    wobble = fractal(seed, 8, 3)
    top = 0.15 + 0.55 * wobble(s, 0.5) ** 1.5            # where the tongue ends, from the top
    tongue = smoothstep(top, top + 0.25, t)
    core = smoothstep(0.6, 1.0, t)
    return min(1.0, tongue * (0.6 + 0.4 * core))


def fire_pattern(size, height):
    """The flame renderer's band: flame colours over heat, yellow-white at the foot, red at the
    tips; the alpha is the heat."""
    def shade(u, v):
        s, t = (u + 1.0) * 0.5, (v + 1.0) * 0.5
        heat = flame_tongues(s, t, 7)
        colour = ramp([(0.0, (0.75, 0.08, 0.0)), (0.45, (1.0, 0.45, 0.05)),
                       (0.8, (1.0, 0.8, 0.25)), (1.0, (1.0, 0.97, 0.75))], heat)
        return colour + (heat,)

    return render(size, shade, height)


def heat_pattern(size):
    """The fire brush's own pattern: white heat of flame tongues, alpha and brightness alike."""
    def shade(u, v):
        heat = flame_tongues((u + 1.0) * 0.5, (v + 1.0) * 0.5, 93)
        return (heat, heat, heat, heat)

    return render(size, shade)


# ---- pictures ---------------------------------------------------------------------------------

def trail_strip(u, v):
    # Across a ribbon (u -1 to 1 is the texture's 0 to 1): opaque along the middle, clear at both
    # edges; every row alike.
    return (1.0, 1.0, 1.0, math.sin(math.pi * (u + 1.0) * 0.5) ** 2)


def white(alpha_fn):
    return lambda u, v: (1.0, 1.0, 1.0, alpha_fn(u, v))


def coloured(colour, alpha_fn):
    return lambda u, v: colour + (alpha_fn(u, v),)


def butterfly_body(u, v):
    stripe = 0.5 + 0.5 * math.cos(v * 14.0)
    body = smoothstep(0.45, 0.35, abs(u) / max(0.2, 1.0 - v * v))
    return (0.25 + 0.2 * stripe, 0.15 + 0.1 * stripe, 0.05, body)


def butterfly_wing(u, v):
    s, t = (u + 1.0) * 0.5, (v + 1.0) * 0.5
    veins = min(abs(math.sin(math.atan2(t, s) * 9.0)), 1.0)
    edge = math.hypot(s, t)
    vein_dark = smoothstep(0.05, 0.2, veins)
    border = smoothstep(1.25, 1.1, edge)
    spots = smoothstep(0.06, 0.03, min(math.hypot(s - 0.8, t - 0.25), math.hypot(s - 0.3, t - 0.75)))
    r = (0.95 * vein_dark * border + (1 - border) * 0.05) * (1 - spots) + spots
    g = (0.5 * vein_dark * border + (1 - border) * 0.05) * (1 - spots) + spots
    b = (0.1 * vein_dark * border + (1 - border) * 0.05) * (1 - spots) + spots
    return (r, g, b, smoothstep(1.42, 1.35, edge))


def butterfly_skin(u, v):
    # The body's skin, wrapped around it: u around, v from the head (top) to the tail; dark
    # rings along the abdomen, a darker head.
    t = (v + 1.0) * 0.5
    ring = 0.5 + 0.5 * math.cos(t * 40.0)
    head = smoothstep(0.18, 0.1, t)
    shade = 0.8 + 0.2 * math.cos(u * math.pi)
    r = (0.30 + 0.18 * ring) * (1.0 - 0.6 * head) * shade
    g = (0.20 + 0.10 * ring) * (1.0 - 0.6 * head) * shade
    return (r, g, 0.08 * shade, 1.0)


def clock_case(u, v):
    r = math.hypot(u, v)
    light = 0.55 + 0.35 * (-(u + v) * 0.7)
    return (light, light, light * 1.05, smoothstep(1.0, 0.96, r))


def clock_dial(u, v):
    r = math.hypot(u, v)
    a = math.atan2(v, u)
    minute = abs(math.sin(a * 30.0)) < 0.08 and 0.8 < r < 0.9
    hour = abs(math.sin(a * 6.0)) < 0.1 and 0.7 < r < 0.9
    rim = abs(r - 0.94) < 0.03
    dark = hour or minute or rim
    face = 0.1 if dark else 0.96
    return (face, face, face * 0.97 if not dark else face, smoothstep(0.99, 0.97, r))


def clock_hands(u, v):
    # A clock hand seen along its length, tip at the top: the clock narrows the picture to the
    # hand's width, so it is opaque across, fading in at the very tip.
    t = (v + 1.0) * 0.5  # 0 top, 1 bottom
    return (0.08, 0.08, 0.1, smoothstep(0.0, 0.05, t))


def light_beam(u, v):
    return (1.0, 0.97, 0.85, math.exp(-(u / 0.25) ** 2) * smoothstep(1.0, -1.0, v))


def flare(u, v):
    return (1.0, 0.95, 0.8, max(glow(u, v) * 0.8, sparkle(u, v, 4, 30.0)))


def speaker(u, v):
    # A loudspeaker with two sound waves, dark on transparent.
    box = abs(u + 0.55) < 0.15 and abs(v) < 0.2
    cone = -0.4 < u < 0.0 and abs(v) < 0.2 + (u + 0.4) * 1.2
    r = math.hypot(u + 0.1, v)
    waves = (abs(r - 0.45) < 0.05 or abs(r - 0.7) < 0.05) and u > 0.05 and abs(v) < (u + 0.1) * 1.1
    on = box or cone or waves
    return (0.15, 0.2, 0.3, 1.0 if on else 0.0)


def bolt_path(seed, points=9):
    """A jagged line across [0.195, 0.805] that starts and ends on the row's centre, as
    (u, offset) corners; offsets in [-0.6, 0.6] of the half row."""
    corners = [(0.195, 0.0)]
    for i in range(1, points):
        h = cell_random(seed, i, 7)
        corners.append((0.195 + 0.61 * i / points, (h * 2.0 - 1.0) * 0.6))
    corners.append((0.805, 0.0))
    return corners


def bolt_offset(corners, u):
    if u <= corners[0][0] or u >= corners[-1][0]:
        return 0.0
    for (u0, o0), (u1, o1) in zip(corners, corners[1:]):
        if u0 <= u <= u1:
            return o0 + (o1 - o0) * (u - u0) / (u1 - u0)
    return 0.0


def bolt_strip(width, height, seeds, core, halo, thickness):
    """Two rows (upper and lower half), each a jagged bolt along u whose middle part, u 0.195 to
    0.805, begins and ends on the row's centre so that segments drawn side by side join; the end
    caps (u 0 to 0.195 and 0.805 to 1) taper the bolt to a glowing tip."""
    rows = []
    paths = [bolt_path(seed) for seed in seeds]
    for y in range(height):
        row_index = 0 if y < height // 2 else 1
        t = ((y % (height // 2)) + 0.5) / (height // 2) * 2.0 - 1.0  # -1..1 within the row
        row = []
        for x in range(width):
            u = (x + 0.5) / width
            d = abs(t - bolt_offset(paths[row_index], u))
            cap = min(smoothstep(0.0, 0.195, u), smoothstep(1.0, 0.805, u))
            w = thickness * (0.35 + 0.65 * cap)
            glow = math.exp(-(d / (w * 4.0)) ** 2) * 0.55
            line = math.exp(-(d / w) ** 2)
            a = max(line, glow) * (0.25 + 0.75 * cap)
            c = tuple(halo[i] + (core[i] - halo[i]) * line for i in range(3))
            row.append(tuple(clamp8(v) for v in c + (a,)))
        rows.append(row)
    return width, height, rows


def gradient(direction):
    def shade(u, v):
        s, t = (u + 1.0) * 0.5, (v + 1.0) * 0.5
        if direction == "horizontal":
            a = s
        elif direction == "vertical":
            a = 1.0 - t
        elif direction == "radial":
            a = max(0.0, 1.0 - math.hypot(u, v))
        else:
            a = (s + 1.0 - t) * 0.5
        return (1.0, 1.0, 1.0, a)

    return shade


def icon(index):
    """The object pictures 2000-2039: shapes in turn, each in its own colour."""
    shapes = [soft_dot, ring, lambda u, v: star(u, v, 5), lambda u, v: star(u, v, 6, 0.5),
              spark, diamond, lambda u, v: sparkle(u, v, 4), hard_dot]
    colour = hue((index * 0.618034) % 1.0)
    colour = tuple(0.35 + 0.65 * c for c in colour)
    return render(64, coloured(colour, shapes[index % len(shapes)]))


def default_background(width, height):
    """The background of a slide without a picture of its own: a calm sky over low hills, stored
    as opaque RGB."""
    def shade(x, y):
        colour = ramp([(0.0, (0.16, 0.30, 0.58)), (0.55, (0.55, 0.70, 0.88)),
                       (0.72, (0.90, 0.86, 0.80))], y)
        colour = mix(colour, (1.0, 0.97, 0.90), 0.4 * math.exp(-((x - 0.3) ** 2 + (y - 0.62) ** 2)
                                                              / 0.02))
        far = 0.70 + 0.05 * math.sin(x * 5.0 + 0.8) + 0.02 * math.sin(x * 13.0)
        near = 0.80 + 0.06 * math.sin(x * 3.1 + 2.0) + 0.015 * math.sin(x * 17.0 + 1.0)
        colour = mix(colour, (0.36, 0.48, 0.56), smoothstep(far - 0.004, far + 0.004, y))
        colour = mix(colour, (0.16, 0.30, 0.24), smoothstep(near - 0.004, near + 0.004, y))
        return colour

    rows = [[tuple(clamp8(c) for c in shade((i + 0.5) / width, (j + 0.5) / height))
             for i in range(width)] for j in range(height)]
    return width, height, rows, "rgb"


def ball_highlight(u, v):
    """The glass ball's first overlay: a soft white highlight up to the left and a faint
    reflection low on the right, clear elsewhere (the ball's disc has radius 0.992)."""
    r = math.hypot(u, v)
    spot = math.exp(-(((u + 0.38) / 0.30) ** 2 + ((v + 0.45) / 0.20) ** 2))
    rim = math.exp(-((r - 0.86) / 0.06) ** 2) * smoothstep(0.2, 0.8, (u + v) * 0.7)
    return (1.0, 1.0, 1.0, min(1.0, 0.85 * spot + 0.35 * rim) * smoothstep(0.992, 0.97, r))


def ball_rim(u, v):
    """The glass ball's second overlay: a dark shade that deepens towards the rim."""
    r = math.hypot(u, v)
    return (0.04, 0.07, 0.14, 0.65 * smoothstep(0.6, 0.99, r) ** 2 * smoothstep(0.992, 0.975, r))


def ball_stand(width, height):
    """The picture across the ball's lower edge: a bronze stand whose collar cups the ball. The
    picture covers x -230.4..232.9 and y -185.6 (top) to -372.2 of the ball's 512-unit quad,
    whose disc has radius 254."""
    def shade(u, v):
        s, t = (u + 1.0) * 0.5, (v + 1.0) * 0.5
        x, y = -230.4 + s * 463.3, -185.61412 - t * 186.57881
        r = math.hypot(x, y)
        collar = smoothstep(252.0, 256.0, r) * smoothstep(280.0, 276.0, r) * \
            smoothstep(-170.0, -200.0, y)
        stem = smoothstep(46.0, 42.0, abs(x) + 0.25 * (y + 330.0)) * \
            smoothstep(-262.0, -268.0, y) * smoothstep(-340.0, -336.0, y)
        plate = smoothstep(1.0, 0.96, math.hypot(x / 200.0, (y + 352.0) / 18.0))
        cover = max(collar, stem, plate)
        light = 0.75 + 0.25 * math.cos((x / 230.0) * math.pi * 0.5) - 0.2 * t
        return (0.62 * light, 0.42 * light, 0.20 * light, cover)

    return render(width, shade, height)


def pictures():
    p = {
        5: default_background(512, 384),                     # the default background
        58: render(256, ball_highlight),                     # the glass ball's highlight
        59: render(256, ball_rim),                           # the glass ball's rim shade
        184: ball_stand(256, 104),                           # the glass ball's stand
        228: render(64, trail_strip, 4),                     # the trace node's ribbon
        2: render(64, white(soft_dot)),                      # the built-in soft dot
        6: render(64, butterfly_skin),                       # the butterfly body's skin
        7: fire_pattern(128, 128),                           # the flame renderer's fire band
        8: noise_tile(128, 8, 4, 4),                         # tileable noise of the fire
        54: render(64, white(lambda u, v: star(u, v, 5))),
        57: render(64, white(ring)),
        60: render(64, white(spark)),
        61: render(32, white(hard_dot)),
        62: bump_tile(128, 62, 4, 3, 0.025),                  # heat-distortion bump tile
        63: render(64, coloured((1.0, 0.7, 0.3), glow)),
        64: render(64, gradient("horizontal")),
        65: render(64, gradient("vertical")),
        66: render(64, gradient("radial")),
        67: render(64, gradient("diagonal")),
        68: render(64, butterfly_body),
        69: render(128, butterfly_wing),
        70: render(128, clock_case),
        71: render(256, clock_dial),                         # clock dial
        72: render(128, clock_hands),                        # clock hands
        74: noise_tile(128, 74, 4, 5),
        75: render(64, white(glow)),
        76: render(64, light_beam),
        77: ripple_tile(128, 3),
        78: render(64, flare),
        79: render(64, white(lambda u, v: sparkle(u, v, 4))),
        80: render(64, white(lambda u, v: star(u, v, 6, 0.45))),
        81: render(64, white(lambda u, v: star(u, v, 8, 0.5))),
        82: render(64, white(lambda u, v: sparkle(u, v, 4, 60.0))),
        83: render(64, coloured((1.0, 0.8, 0.4), spark)),
        84: render(64, coloured((1.0, 0.9, 0.6), soft_dot)),
        85: render(64, coloured((0.6, 0.8, 1.0), ring)),
        86: noise_tile(64, 86, 8, 3),
        87: noise_tile(128, 87, 2, 4, (0.8, 0.9, 1.0)),
        88: ripple_tile(128, 4),                             # underwater ripples
        89: bump_tile(128, 89, 4, 3, 0.02),                  # relief bump tile
        93: heat_pattern(128),                               # the fire brush's pattern
        95: bolt_strip(256, 64, (95, 195), (1.0, 1.0, 1.0), (0.55, 0.7, 1.0), 0.09),  # bolt
        98: bolt_strip(256, 64, (98, 198), (1.0, 0.97, 0.85), (1.0, 0.6, 0.25), 0.16),  # bolt
    }
    for i in range(40):
        p[2000 + i] = icon(i)
    p[2016] = render(64, speaker)                            # the sound object's picture
    return p


# ---- the demo project's backgrounds -----------------------------------------------------------
# Landscapes shaded at x, y in [0, 1] with y growing downwards. The camera shows 1 / 1.25 of a
# picture (the demo's zoom), which at 575 x 269 pixels is the player window's 460 x 215.

BACKGROUND_SIZE = (575, 269)
ASPECT = BACKGROUND_SIZE[0] / BACKGROUND_SIZE[1]
PIXEL = 1.0 / BACKGROUND_SIZE[1]


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def ramp(stops, t):
    """The colour at t of a list of (position, colour) stops in increasing position."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, smoothstep(p0, p1, t))
    return stops[-1][1]


def disc(x, y, cx, cy, radius):
    """Coverage of a disc, in picture heights, with a one-pixel soft edge."""
    d = math.hypot((x - cx) * ASPECT, y - cy)
    return smoothstep(radius + PIXEL, radius - PIXEL, d)


def halo(x, y, cx, cy, reach):
    d = math.hypot((x - cx) * ASPECT, y - cy)
    return math.exp(-(d / reach) ** 2)


def ridge(x, base, waves):
    return base + sum(a * math.sin(f * x * 2.0 * math.pi + p) for a, f, p in waves)


def below(y, line):
    """Coverage of the ground under a ridge line."""
    return smoothstep(line - PIXEL, line + PIXEL, y)


def cell_random(i, j, k):
    """A fixed value in [0, 1) for lattice cell (i, j), draw k."""
    h = (i * 73856093) ^ (j * 19349663) ^ (k * 83492791)
    h = (h * 1103515245 + 12345) & 0x7FFFFFFF
    h = (h * 1103515245 + 12345) & 0x7FFFFFFF
    return (h >> 7) / float(1 << 24)


def dawn(x, y):
    colour = ramp([(0.0, (0.15, 0.10, 0.32)), (0.38, (0.72, 0.34, 0.46)),
                   (0.62, (1.00, 0.62, 0.36))], y)
    colour = mix(colour, (1.0, 0.86, 0.62), 0.55 * halo(x, y, 0.66, 0.56, 0.22))
    colour = mix(colour, (1.0, 0.95, 0.78), disc(x, y, 0.66, 0.56, 0.07))
    layers = [
        (ridge(x, 0.60, [(0.03, 1.3, 0.4), (0.015, 3.7, 1.9)]), (0.62, 0.36, 0.46)),
        (ridge(x, 0.70, [(0.04, 0.9, 2.2), (0.02, 2.9, 0.3)]), (0.38, 0.20, 0.34)),
        (ridge(x, 0.83, [(0.05, 0.7, 4.0), (0.015, 4.3, 1.1)]), (0.16, 0.08, 0.18)),
    ]
    for line, tone in layers:
        colour = mix(colour, tone, below(y, line))
    return colour


def night(x, y):
    colour = ramp([(0.0, (0.01, 0.02, 0.07)), (0.75, (0.07, 0.11, 0.28))], y)
    band = 0.30 + 0.06 * math.sin(x * 6.0 + 0.5)
    aurora = math.exp(-((y - band) / 0.07) ** 2) * (0.55 + 0.45 * math.sin(x * 9.0 + 1.0))
    colour = mix(colour, (0.20, 0.85, 0.60), 0.45 * max(0.0, aurora))
    # One star per cell of 20 pixels, at a fixed random place and brightness.
    px, py = x * BACKGROUND_SIZE[0], y * BACKGROUND_SIZE[1]
    i, j = int(px // 20), int(py // 20)
    sx, sy = (i + cell_random(i, j, 1)) * 20, (j + cell_random(i, j, 2)) * 20
    shine = cell_random(i, j, 3)
    star_light = smoothstep(1.3, 0.3, math.hypot(px - sx, py - sy)) * shine
    colour = mix(colour, (1.0, 1.0, 0.92), star_light)
    colour = mix(colour, (0.30, 0.34, 0.50), 0.35 * halo(x, y, 0.80, 0.20, 0.12))
    moon = disc(x, y, 0.80, 0.20, 0.07) * (1.0 - disc(x, y, 0.825, 0.185, 0.062))
    colour = mix(colour, (0.96, 0.93, 0.82), moon)
    peaks = 0.78 - 0.16 * abs(math.sin(x * 5.3 + 0.7)) ** 1.5 - 0.05 * abs(math.sin(x * 17.0))
    colour = mix(colour, (0.03, 0.04, 0.09), below(y, peaks))
    colour = mix(colour, (0.01, 0.01, 0.03), below(y, ridge(x, 0.90, [(0.03, 1.1, 0.2)])))
    return colour


def sea(x, y):
    horizon = 0.52
    if y < horizon:
        colour = ramp([(0.0, (0.20, 0.48, 0.86)), (horizon, (0.84, 0.92, 0.98))], y)
        for cx, cy, w, h in ((0.62, 0.20, 0.16, 0.035), (0.80, 0.30, 0.12, 0.025),
                             (0.15, 0.33, 0.10, 0.02)):
            d = ((x - cx) * ASPECT / (w * ASPECT)) ** 2 + ((y - cy) / h) ** 2
            colour = mix(colour, (1.0, 1.0, 1.0), 0.8 * math.exp(-d * 1.5))
    else:
        depth = (y - horizon) / (1.0 - horizon)
        colour = mix((0.10, 0.40, 0.58), (0.01, 0.16, 0.32), depth)
        spread = 0.02 + 0.10 * depth
        column = math.exp(-((x - 0.30) / spread) ** 2)
        waves = (0.5 + 0.5 * math.sin(y * 260.0 + 3.0 * math.sin(x * 25.0))) ** 6
        colour = mix(colour, (1.0, 0.98, 0.88), 0.8 * column * waves)
    colour = mix(colour, (1.0, 1.0, 0.9), 0.5 * halo(x, y, 0.30, 0.16, 0.12))
    colour = mix(colour, (1.0, 1.0, 0.96), disc(x, y, 0.30, 0.16, 0.05))
    return colour


# ---- the demo project's particle pictures ------------------------------------------------------

def spark_atlas(size):
    """Four white sparks in a 2 x 2 atlas: a four-ray sparkle, a five-pointed star, a streak and
    a small round spark."""
    cells = [lambda u, v: sparkle(u, v, 4, 20.0), lambda u, v: star(u, v, 5, 0.4), spark,
             lambda u, v: soft_dot(u, v, 6.0)]
    return atlas(size, [white(cell) for cell in cells])


def flare_atlas(size):
    """Sixteen frames of a white sparkle that flares up, turns and fades, in a 4 x 4 atlas read
    row by row from the top left."""
    quarter = size // 4
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            frame = (y // quarter) * 4 + x // quarter
            phase = frame / 15.0
            grow = 0.35 + 0.65 * math.sin(math.pi * phase)
            turn = phase * math.pi / 2.0
            u = ((x % quarter) + 0.5) / quarter * 2.0 - 1.0
            v = ((y % quarter) + 0.5) / quarter * 2.0 - 1.0
            ru = (u * math.cos(turn) - v * math.sin(turn)) / grow
            rv = (u * math.sin(turn) + v * math.cos(turn)) / grow
            alpha = sparkle(ru, rv, 4, 20.0) if abs(ru) <= 1.0 and abs(rv) <= 1.0 else 0.0
            row.append(tuple(clamp8(c) for c in (1.0, 1.0, 1.0, alpha)))
        rows.append(row)
    return size, size, rows


def atlas(size, cells):
    """A 2 x 2 atlas of four pictures, cells[i] shaded (r, g, b, a) at (u, v) in [-1, 1] of its
    cell: top left, top right, bottom left, bottom right."""
    half = size // 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            cell = cells[(y // half) * 2 + x // half]
            u = ((x % half) + 0.5) / half * 2.0 - 1.0
            v = ((y % half) + 0.5) / half * 2.0 - 1.0
            row.append(tuple(clamp8(c) for c in cell(u, v)))
        rows.append(row)
    return size, size, rows


def smoke_puff(size):
    """A soft grey puff: a round cloud whose edge and density wander with noise."""
    n = fractal(31, 4, 4)

    def shade(u, v):
        s, t = (u + 1.0) * 0.5, (v + 1.0) * 0.5
        density = n(s, t)
        r = math.hypot(u, v) + 0.35 * (density - 0.5)
        alpha = smoothstep(0.95, 0.2, r) * (0.45 + 0.55 * density)
        grey = 0.75 + 0.25 * density
        return (grey, grey, grey, alpha)

    return render(size, shade)


def drop(u, v, stretch):
    """A water drop seen on glass, lit from the top left: a round body (pulled into a tail
    above it by `stretch`), a dark rim and a bright spot. Answers (r, g, b, a)."""
    y = v if v > 0.0 else v / (1.0 + stretch * 2.0)
    x = u * (1.0 + stretch * max(0.0, -v))
    r = math.hypot(x, y) / 0.8
    body = smoothstep(1.0, 0.9, r)
    rim = smoothstep(0.55, 1.0, r)
    shine = math.exp(-((x + 0.3) ** 2 + (y + 0.3) ** 2) / 0.02)
    light = min(1.0, 0.55 + 0.35 * rim + shine)
    return (light, light, min(1.0, light * 1.05), body * (0.35 + 0.5 * rim + 0.5 * shine))


def drop_atlas(size):
    """Four drops in a 2 x 2 atlas: a sliding drop with a tail (top left) and three still
    drops of slightly different shapes."""
    return atlas(size, [lambda u, v: drop(u * 1.3, v * 1.3 + 0.3, 0.12),
                        lambda u, v: drop(u * 1.1, v * 0.95, 0.0),
                        lambda u, v: drop(u * 0.95, v * 1.1, 0.0),
                        lambda u, v: drop(u * 1.05, v, 0.1)])


def bokeh_disc(u, v):
    """An out-of-focus light: an even disc with a slightly brighter rim and a soft edge."""
    r = math.hypot(u, v)
    return 0.55 * smoothstep(0.95, 0.85, r) + 0.3 * ring(u, v, 0.86, 0.06)


def light_band(u, v):
    """A band of light across the picture, brightest in its middle, the same along v."""
    return math.exp(-(u / 0.45) ** 2) * smoothstep(1.0, 0.7, abs(u))


def soft_streak(u, v):
    """A band along the picture's height, soft across its width: a line's strip repeats it
    along its length and stretches its width across the strip."""
    return math.exp(-(u / 0.42) ** 2 * 2.0) * smoothstep(1.0, 0.8, abs(u))


def tear_drop(u, v):
    """A drop with its point at the top and its round end below, lit from the upper left."""
    cy, r = 0.35, 0.55
    if v >= cy:
        half = r * math.sqrt(max(0.0, 1.0 - ((v - cy) / r) ** 2))
    else:
        half = r * max(0.0, (v + 0.9) / (cy + 0.9)) ** 1.5
    alpha = smoothstep(half + 0.04, half - 0.04, abs(u)) if half > 0.0 else 0.0
    shine = math.exp(-(((u + 0.18) / 0.12) ** 2 + ((v - 0.2) / 0.16) ** 2))
    tone = 0.78 + 0.22 * shine
    return (tone, min(1.0, tone + 0.08), 1.0, alpha * (0.75 + 0.25 * shine))


def leaf_picture(u, v):
    # An autumn leaf filling the picture lengthwise (top to bottom), with a midrib and veins.
    half_width = 0.85 * math.sin(math.pi * min(1.0, max(0.0, (v + 1.0) * 0.5))) ** 0.8
    inside = smoothstep(half_width, half_width - 0.06, abs(u))
    midrib = smoothstep(0.05, 0.02, abs(u))
    vein = smoothstep(0.12, 0.0, abs(math.sin((v - abs(u) * 0.8) * 9.0))) * (1.0 - midrib)
    dark = 0.35 * vein + 0.45 * midrib
    blend = (v + 1.0) * 0.5
    r = (0.85 - 0.25 * blend) * (1.0 - dark)
    g = (0.45 + 0.2 * blend) * (1.0 - dark)
    return (r, g, 0.08 * (1.0 - dark), inside)


def particle_pictures():
    return {"soft_spot": render(64, white(soft_dot)), "spark_atlas": spark_atlas(128),
            "flare_atlas": flare_atlas(128),
            "smoke_puff": smoke_puff(64), "drop_atlas": drop_atlas(128),
            "bokeh_disc": render(64, white(bokeh_disc)), "light_band": render(64, white(light_band)),
            "soft_streak": render(32, white(soft_streak)), "tear_drop": render(32, tear_drop, 48),
            "leaf": render(64, leaf_picture, 128)}


def backgrounds():
    return {"dawn": dawn, "night": night, "sea": sea}


# ---- the demo project's sprite pictures --------------------------------------------------------
# Creatures face right (the sprite presets mirror them when they move left); standing things have
# their foot at the bottom middle, where the presets sway them from.

def ellipse(u, v, cx, cy, rx, ry):
    return math.hypot((u - cx) / rx, (v - cy) / ry)


def fish_picture(u, v):
    body = smoothstep(1.0, 0.93, ellipse(u, v, 0.2, 0.0, 0.7, 0.55))
    tail_x = -0.42 - u
    tail = smoothstep(0.02, 0.0, abs(v) - (0.1 + tail_x * 1.3)) * (tail_x > -0.1) * (u > -0.92)
    fin = smoothstep(0.02, 0.0, ellipse(u, v, 0.15, -0.5, 0.3, 0.2) - 1.0)
    alpha = max(body, tail, fin)
    stripe = 0.5 + 0.5 * math.cos((u + 0.2) * 11.0)
    shade = 0.75 + 0.25 * (-v)
    colour = mix((1.0, 0.45, 0.08), (1.0, 0.92, 0.8), 0.35 * stripe * body)
    colour = tuple(c * shade for c in colour)
    eye = smoothstep(0.09, 0.06, math.hypot(u - 0.66, v + 0.12))
    colour = mix(colour, (0.05, 0.05, 0.08), eye)
    return colour + (alpha,)


def bird_picture(u, v):
    body = smoothstep(1.0, 0.9, ellipse(u, v, 0.1, 0.15, 0.45, 0.16))
    head = smoothstep(1.0, 0.9, ellipse(u, v, 0.55, 0.05, 0.14, 0.14))
    # Two wings swept up from the body, thinning towards their tips.
    wing = 0.0
    for side in (-1.0, 1.0):
        x = u * side
        if -0.1 < x < 0.95:
            centre = 0.25 - 1.4 * x + 0.55 * x * x
            wing = max(wing, smoothstep(0.04, 0.0, abs(v - centre) - 0.2 * (1.0 - x)))
    tail = smoothstep(0.03, 0.0, abs(v - 0.2) - 0.12 * (-0.35 - u)) * (u < -0.3) * (u > -0.75)
    alpha = max(body, head, wing, tail)
    return (0.12, 0.1, 0.14, alpha)


def ghost_picture(u, v):
    top = smoothstep(1.0, 0.95, ellipse(u, v, 0.0, -0.2, 0.75, 0.75)) if v < -0.2 else 0.0
    hem = 0.85 + 0.08 * math.sin(u * 12.0)
    sheet = smoothstep(0.78, 0.72, abs(u)) * smoothstep(hem, hem - 0.05, v) * (v >= -0.2)
    alpha = max(top, sheet) * (0.55 + 0.35 * smoothstep(0.9, -0.6, v))
    eyes = max(smoothstep(0.14, 0.1, ellipse(u, v, -0.25, -0.3, 1.0, 1.4)),
               smoothstep(0.14, 0.1, ellipse(u, v, 0.25, -0.3, 1.0, 1.4)))
    colour = mix((0.92, 0.95, 1.0), (0.05, 0.05, 0.12), eyes)
    return colour + (max(alpha, eyes * 0.9 * (alpha > 0)),)


def drop_picture(u, v):
    # A streak, thin at the top and full at its round foot.
    t = (v + 1.0) * 0.5
    width = 0.15 + 0.65 * t
    streak = smoothstep(width, width * 0.6, abs(u)) * smoothstep(0.0, 0.3, t)
    return (0.8, 0.88, 1.0, 0.85 * streak)


def blade_picture(u, v):
    t = (v + 1.0) * 0.5  # 0 at the tip, 1 at the foot
    width = 0.05 + 0.6 * t
    bend = 0.25 * (1.0 - t) ** 2
    blade = smoothstep(width, width * 0.7, abs(u - bend))
    colour = mix((0.55, 0.8, 0.25), (0.12, 0.35, 0.08), t)
    return colour + (blade,)


def flower_picture(u, v):
    # A stem from the bottom middle up to a bloom of five petals round a yellow heart.
    stem = smoothstep(0.09, 0.05, abs(u + 0.04 * math.sin(v * 3.0))) * (v > -0.3)
    leaf = smoothstep(1.0, 0.9, ellipse(u, v, 0.22, 0.45, 0.22, 0.08))
    bx, by = u, (v + 0.55) * 2.0
    r = math.hypot(bx, by)
    petals = smoothstep(0.02, 0.0, r - (0.55 + 0.3 * math.cos(5.0 * math.atan2(by, bx))))
    heart = smoothstep(0.22, 0.18, r)
    colour = (0.2, 0.5, 0.15)
    if petals > 0.0:
        colour = mix(colour, (0.95, 0.35, 0.55), petals)
    colour = mix(colour, (1.0, 0.85, 0.2), heart)
    return colour + (max(stem, leaf, petals, heart),)


def tree_picture(u, v):
    trunk = smoothstep(0.14, 0.1, abs(u)) * (v > 0.1)
    canopy = 0.0
    for cx, cy, r in ((0.0, -0.35, 0.55), (-0.38, -0.05, 0.4), (0.38, -0.05, 0.4),
                      (0.0, 0.1, 0.42)):
        canopy = max(canopy, smoothstep(r, r - 0.04, math.hypot(u - cx, (v - cy) * 1.2)))
    leaves = 0.25 + 0.12 * fractal(31, 4, 3)((u + 1.0) * 0.5, (v + 1.0) * 0.5)
    colour = mix((0.25, 0.15, 0.1), (0.12, leaves, 0.12), canopy)
    return colour + (max(trunk, canopy),)


def crackle_strip(frames, width, height):
    """A strip of `frames` frames side by side, each a jagged vertical spark of its own from the
    top middle to the bottom middle, white in a blue glow."""
    rows = []
    paths = []
    for f in range(frames):
        points = [(0.0, 0.0)]
        for i in range(1, 8):
            points.append((i / 8.0, (cell_random(f, i, 5) * 2.0 - 1.0) * 0.45))
        points.append((1.0, 0.0))
        paths.append(points)
    for y in range(height):
        t = (y + 0.5) / height
        row = []
        for x in range(width * frames):
            f = x // width
            s = ((x % width) + 0.5) / width * 2.0 - 1.0
            offset = 0.0
            for (t0, o0), (t1, o1) in zip(paths[f], paths[f][1:]):
                if t0 <= t <= t1:
                    offset = o0 + (o1 - o0) * (t - t0) / (t1 - t0)
            d = abs(s - offset)
            line = math.exp(-(d / 0.06) ** 2)
            glow = math.exp(-(d / 0.3) ** 2) * 0.6
            colour = mix((0.45, 0.6, 1.0), (1.0, 1.0, 1.0), line)
            row.append(tuple(clamp8(c) for c in colour + (max(line, glow),)))
        rows.append(row)
    return width * frames, height, rows


def demo_sprites():
    return {
        "fish": render(64, fish_picture, 32),
        "bird": render(64, bird_picture, 32),
        "ghost": render(48, ghost_picture, 64),
        "drop": render(8, drop_picture, 32),
        "blade": render(16, blade_picture, 64),
        "flower": render(32, flower_picture, 64),
        "tree": render(64, tree_picture, 80),
        "crackle": crackle_strip(4, 32, 64),
    }


def render_background(shade):
    width, height = BACKGROUND_SIZE
    rows = []
    for j in range(height):
        y = (j + 0.5) / height
        rows.append([tuple(clamp8(c) for c in shade((i + 0.5) / width, y))
                     for i in range(width)])
    return png_rgb_bytes(width, height, rows)


def main():
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "assets", "pictures")
    demo = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "assets", "demo")
    os.makedirs(out, exist_ok=True)
    for pid, (w, h, rows, *form) in sorted(pictures().items()):
        with open(os.path.join(out, "%d.png" % pid), "wb") as f:
            f.write(png_rgb_bytes(w, h, rows) if form == ["rgb"] else png_bytes(w, h, rows))
        print("DDS %d 1033 pictures/%d.png" % (pid, pid))
    os.makedirs(demo, exist_ok=True)
    for name, shade in sorted(backgrounds().items()):
        with open(os.path.join(demo, name + ".png"), "wb") as f:
            f.write(render_background(shade))
    for name, (w, h, rows) in sorted({**particle_pictures(), **demo_sprites()}.items()):
        with open(os.path.join(demo, name + ".png"), "wb") as f:
            f.write(png_bytes(w, h, rows))


if __name__ == "__main__":
    main()
