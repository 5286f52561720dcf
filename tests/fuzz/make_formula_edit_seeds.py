#!/usr/bin/env python3
"""Writes the seed sequences of formula_edit_fuzz into corpus/formula_edit/.

The encoding mirrors the harness's ByteReader: one operation byte, then each
integer argument in as few big-endian bytes as its range needs, each text as
its length and then its bytes."""
import os

KEYS = [8, 9, 13, 33, 34, 35, 36, 37, 38, 39, 40, 46, 110, 189, 190]
SHIFT, CTRL = 1, 2


def integer(value, lo, hi):
    rng, out = hi - lo, b""
    width = 0
    while rng > 0:
        width += 1
        rng >>= 8
    return (value - lo).to_bytes(width, "big") if width else b""


def text(t, maximum):
    t = t.encode("latin-1") if isinstance(t, str) else t
    return integer(len(t), 0, maximum) + t


def key(vk, mods=0):
    if 65 <= vk <= 90:
        sel = bytes([1]) + integer(vk, 65, 90)
    elif 48 <= vk <= 57:
        sel = bytes([2]) + integer(vk, 48, 57)
    elif vk in KEYS:
        sel = bytes([0]) + integer(KEYS.index(vk), 0, len(KEYS) - 1)
    else:
        sel = bytes([4]) + integer(vk, -1, 300)
    return bytes([0]) + sel + integer(mods, 0, 7)


def typed(s):
    out = b""
    for c in s:
        if c.isupper():
            out += key(ord(c), SHIFT)
        elif c.islower():
            out += key(ord(c.upper()))
        elif c.isdigit():
            out += key(ord(c))
        elif c == ".":
            out += key(190)
        elif c == "-":
            out += key(189)
        elif c == "(":
            out += key(57, SHIFT)
        elif c == ")":
            out += key(48, SHIFT)
    return out


def clipboard(t):
    return bytes([4]) + text(t, 700)


def set_text(t):
    return bytes([7]) + text(t, 600)


def replace_selection(t):
    return bytes([8]) + text(t, 600)


def select_range(s, e):
    return bytes([9]) + integer(s, -3, 483) + integer(e, -3, 483)


def click(x):
    return bytes([10]) + integer(x, -100, 20000)


def drag(x):
    return bytes([11]) + integer(x, -100, 20000)


def bind(entry, width=200, focus=True):
    return bytes([14]) + integer(entry, -2, 29) + integer(width, 0, 2000) + bytes([1 if focus else 0])


def peg(row):
    return bytes([18]) + integer(row, 0, 29) + bytes([0])


def row_ratio(row, t):
    return bytes([18]) + integer(row, 0, 29) + bytes([1]) + text(t, 120)


def move_all(include):
    return bytes([19, 1 if include else 0, 2])


def menu(choice):
    return bytes([6]) + integer(choice, -1, 5)


WIDTHS = bytes([11, 6])  # letter and digit widths
SEEDS = {
    "type_fe2o3": typed("Fe2O3") + key(37, SHIFT) + key(37, SHIFT) + key(67, CTRL),
    "type_lower_and_caps": typed("fe2o3") + key(36) + key(39) + key(46) + key(70, SHIFT),
    "paste_with_blank": clipboard("Fe2 O3") + key(86, CTRL) + clipboard("Fe2O3;") + key(86, CTRL),
    "backspace_undo": typed("CuSO4.5H2O") + key(8) + key(90, CTRL) + key(90, CTRL) + bytes([17]),
    "barium_titanate": typed("BaTiO3") + bind(0) + typed("BaCO3") + bind(1) + typed("TiO2")
    + peg(1) + row_ratio(1, "0.5") + bind(2) + typed("Ca(OH)2") + move_all(True),
    "full_text": set_text("H" * 478) + clipboard("HHHH") + key(86, CTRL) + typed("O")
    + key(36, SHIFT) + key(46) + bytes([17]),
    "selection_and_scroll": typed("La.7Sr.3MnO3") + select_range(3, 1) + key(88, CTRL)
    + select_range(0, -1) + replace_selection("K2(Ni(CN)4)") + bytes([13])
    + integer(40, 0, 2000) + integer(24, 0, 100) + bytes([1]) + key(36) + key(35, SHIFT)
    + click(15) + drag(400) + menu(2) + menu(4) + menu(3),
    "read_only_difference": bind(-1) + typed("Fe2O3") + bind(0) + typed("FeO") + peg(0)
    + bind(-2) + key(8) + key(67, CTRL) + menu(1) + menu(2) + bytes([15]) + integer(4, -1, 482),
    "hidden_message": typed("H2O") + key(74, SHIFT | CTRL) + key(190, CTRL) + key(65, 4),
}

if __name__ == "__main__":
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "formula_edit")
    os.makedirs(out, exist_ok=True)
    for name, body in SEEDS.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(WIDTHS + body)
