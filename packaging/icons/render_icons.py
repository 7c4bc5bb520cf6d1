#!/usr/bin/env python3
"""Renders the program icon at the sizes a desktop asks for beyond those the program carries
(16, 24 and 64 pixels), from the very drawing of the window icon, so the menu and the window show
one picture. The PNGs are kept in the tree; run this here after the drawing changes."""
import os
import sys

sys.dont_write_bytecode = True  # leave no cache in the drawing's folder

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "resources", "images"))
import draw_images  # noqa: E402  (the window icon's drawing)

for size in (16, 24, 64):
    folder = os.path.join(HERE, f"{size}x{size}")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "example.kelvardy.Quillane.png"), "wb") as f:
        f.write(draw_images.png(size, size, draw_images.program_icon(size)))
