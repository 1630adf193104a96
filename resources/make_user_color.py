#!/usr/bin/env python3
"""Writes resources/data/UserColor.dat, the colour table shipped with the monitor.

A dark-blue instrument look: dark panels, bright value texts with one hue per quantity
(voltage yellow, current cyan, capacity green, temperature orange), a green LINK lamp when up
and a dark red one when down. Colours are written as RGB here; the file stores each entry as a
32-bit little-endian word in the 0x00BBGGRR encoding (red in the low byte).

Run it from the repository root after changing the table: python3 resources/make_user_color.py
"""

import pathlib
import struct

# entry, label, RGB, what it paints
TABLE = [
    (1, "IndividualVoltage", 0x0B1A2E, "cell bar background"),
    (2, "GuageArea", 0x0A1628, "top strip; graph readout bar"),
    (3, "GuageBackground", 0x12233D, "frame panels, dial faces, outline pen"),
    (4, "GuageTitleBackground", 0x1C3A66, "title panels"),
    (5, "GuageTitleFont", 0xCFE0F5, "title captions"),
    (6, "GuageValueBackground", 0x060E1A, "value labels and panels"),
    (7, "LinkOn", 0x2ECC40, "LINK lamp, link up"),
    (8, "LinkOff", 0x6B1E1E, "LINK lamp, link down"),
    (9, "RunOn", 0x33D17A, "RUN button on"),
    (10, "RunOff", 0x4A4F57, "RUN button off"),
    (11, "GraphBackground", 0x0B1626, "chart background"),
    (12, "SelectChannel", 0x2F6FD0, "selected channel button, outline highlight"),
    (13, "UnSelectedChannel", 0x1A2A40, "other channel button"),
    (14, "Voltage", 0xFFE066, "voltage text, series, scale"),
    (15, "Current", 0x5CC8FF, "current text, series, scale"),
    (16, "Capacity", 0x7CFC8A, "capacity text, limit series, scale"),
    (17, "Temperature", 0xFF8A5C, "temperature text, series, scale"),
    (18, "Duration", 0xE8E8E8, "elapsed time text"),
    (19, "InputVoltage", 0xC9A6FF, "input voltage text"),
    (20, "CapacityArea", 0x2A6B3A, "capacity area series"),
    (21, "CELLTitle", 0x1C3A66, "cell view column titles"),
    (22, "CELLTitleFont", 0xCFE0F5, "cell view title text"),
    (23, "CELLLastPanel", 0x12233D, "cell view 'Last' column"),
    (24, "CELLCursorPanel", 0x1A2E4F, "cell view 'Cursor' column"),
    (25, "CELLIDFont", 0x8FB3E0, "cell view headings and numbers"),
    (26, "CELLLastValue", 0x060E1A, "'Last' value panels"),
    (27, "CELLLastValueFont", 0xFFE066, "'Last' value text"),
    (28, "CELLCursor", 0x0A1A30, "'Cursor' value panels"),
    (29, "CELLCursorFont", 0x5CE1E6, "'Cursor' value text"),
    (30, "Time Text", 0xE8E8E8, "nothing"),
] + [(31 + i, f"t{i + 2}", 0x000000, "nothing") for i in range(10)]


def encode(rgb: int) -> int:
    red, green, blue = (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF
    return (blue << 16) | (green << 8) | red


def main() -> None:
    assert [entry for entry, *_ in TABLE] == list(range(1, 41))
    data = b"".join(struct.pack("<I", encode(rgb)) for _, _, rgb, _ in TABLE)
    assert len(data) == 160
    target = pathlib.Path(__file__).resolve().parent / "data" / "UserColor.dat"
    target.write_bytes(data)


if __name__ == "__main__":
    main()
