#!/usr/bin/env python3
"""Writes the editor's bundled resources: the key click and the fallback toolbar icons.

Run from this folder; the outputs are committed, so the build never needs Python.
"""
import math
import struct

SAMPLE_RATE = 44100
SAMPLE_BYTES = 10134  # 5067 samples of 16 bits, about 115 ms


def write_click(path):
    samples = SAMPLE_BYTES // 2
    frames = bytearray()
    for n in range(samples):
        t = n / SAMPLE_RATE
        # A short knock: two damped partials with a very fast attack.
        envelope = math.exp(-t * 70.0) * min(1.0, n / 20.0)
        value = envelope * (0.7 * math.sin(2 * math.pi * 1900 * t) + 0.3 * math.sin(2 * math.pi * 3700 * t))
        frames += struct.pack("<h", int(max(-1.0, min(1.0, value)) * 20000))
    header = b"RIFF" + struct.pack("<I", 36 + len(frames)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, SAMPLE_RATE, SAMPLE_RATE * 2, 2, 16)
    header += b"data" + struct.pack("<I", len(frames))
    with open(path, "wb") as out:
        out.write(header + frames)


# 16 x 15 pictures; "." is transparent, the other letters pick colours from PALETTE.
PALETTE = {"k": "#202020", "w": "#FFFFFF", "b": "#2F6FC0", "y": "#E8C030", "g": "#30A040", "r": "#C03030", "s": "#A0A0A0"}

ICONS = {
    "new": [
        "..kkkkkkkk......", "..kwwwwwwkk.....", "..kwwwwwwkwk....", "..kwwwwwwkkkk...",
        "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...", "..kkkkkkkkkkk...", "................"],
    "load": [
        "................", "................", ".kkkk...........", "kyyyyk..........",
        "kyyyyykkkkkkk...", "kyyyyyyyyyyyk...", "kyykkkkkkkkkkkk.", "kyykyyyyyyyyyyk.",
        "kykyyyyyyyyyyk..", "kykyyyyyyyyyyk..", "kkyyyyyyyyyyk...", "kkyyyyyyyyyyk...",
        "kkkkkkkkkkkkk...", "................", "................"],
    "save": [
        "kkkkkkkkkkkkkkk.", "kbkwwwwwwwwwkbk.", "kbkwwwwwwwwwkbk.", "kbkwwwwwwwwwkbk.",
        "kbkwwwwwwwwwkbk.", "kbbkkkkkkkkkbbk.", "kbbbbbbbbbbbbbk.", "kbbkkkkkkkkkbbk.",
        "kbbkssskkkkkbbk.", "kbbkssskkkkkbbk.", "kbbkssskkkkkbbk.", ".kbkkkkkkkkkbbk.",
        "..kkkkkkkkkkkkk.", "................", "................"],
    "copy": [
        "kkkkkkk.........", "kwwwwwkk........", "kwkkwkwkk.......", "kwwwwwwwk.......",
        "kwkkkkkkkkkkk...", "kwwwwwkwwwwwkk..", "kwkkkkkwkkwkwkk.", "kwwwwwkwwwwwwwk.",
        "kkkkkkkwkkkkkwk.", "......kwwwwwwwk.", "......kwkkkkkwk.", "......kwwwwwwwk.",
        "......kkkkkkkkk.", "................", "................"],
    "cut": [
        "...k.....k......", "...k.....k......", "...kk...kk......", "....k...k.......",
        "....kk.kk.......", ".....k.k........", "......k.........", ".....b.b........",
        "...bbb.bbb......", "..b..b.b..b.....", "..b..b.b..b.....", "..b..b.b..b.....",
        "...bb...bb......", "................", "................"],
    "paste": [
        ".....kkkk.......", "kkkkksssskkkkk..", "kyyykkkkkkyyyk..", "kyyyyyyyyyyyyk..",
        "kyyyyykkkkkkkkk.", "kyyyyykwwwwwwkk.", "kyyyyykwkkkkwkwk", "kyyyyykwwwwwwkkk",
        "kyyyyykwkkkkkwwk", "kyyyyykwwwwwwwwk", "kyyyyykwkkkkkkwk", "kkkkkkkwwwwwwwwk",
        "......kkkkkkkkkk", "................", "................"],
    "start": [
        "................", "...kk...........", "...kgk..........", "...kggk.........",
        "...kgggk........", "...kggggk.......", "...kgggggk......", "...kggggggk.....",
        "...kgggggk......", "...kggggk.......", "...kgggk........", "...kggk.........",
        "...kgk..........", "...kk...........", "................"],
    "print": [
        "....kkkkkkk.....", "....kwwwwwk.....", "....kwkkkwk.....", "....kwwwwwk.....",
        ".kkkkkkkkkkkkk..", "kssssssssssssk..", "kssssssssssgsk..", "kssssssssssssk..",
        "kkkkkkkkkkkkkk..", "kskwwwwwwwwksk..", ".kkwkkkkkkwkkk..", "...kwwwwwwwk....",
        "...kkkkkkkkk....", "................", "................"],
}


def write_xpm(name, rows):
    used = sorted({c for row in rows for c in row} - {"."})
    lines = [f'"{len(rows[0])} {len(rows)} {len(used) + 1} 1",', '". c None",']
    lines += [f'"{c} c {PALETTE[c]}",' for c in used]
    lines += [f'"{row}",' for row in rows]
    lines[-1] = lines[-1].rstrip(",")
    with open(f"icons/{name}.xpm", "w") as out:
        out.write(f"/* XPM */\nstatic const char *{name}[] = {{\n" + "\n".join(lines) + "\n};\n")


if __name__ == "__main__":
    write_click("sounds/click.wav")
    for icon_name, icon_rows in ICONS.items():
        assert len(icon_rows) == 15 and all(len(r) == 16 for r in icon_rows), icon_name
        write_xpm(icon_name, icon_rows)
