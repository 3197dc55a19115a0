#!/usr/bin/env python3
"""Writes resources/music/varnex_theme.mod, the window's background music.

A four-channel ProTracker module composed for Varnex: a cheerful C major tune over
C - G - Am - F with bass, arpeggios and drums. Every sample is synthesised here
(square lead, triangle bass, soft pad, kick and hi-hat), so the file is ours alone.
Run it again after changing the tune; the output is deterministic.
"""
import math
import os
import struct
import sys

PAL_CLOCK = 7093789.2
ROWS = 64
CHANNELS = 4

# ProTracker periods, octaves 1..3.
NAMES = ["C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"]
PERIODS = [856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
           428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
           214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113]


def period(note):
    """'C-2', 'F#1' -> Amiga period."""
    name = note[:2].rstrip("-")
    octave = int(note[2])
    return PERIODS[(octave - 1) * 12 + NAMES.index(name)]


def clamp8(v):
    return max(-128, min(127, int(round(v))))


def wave(kind, length=32):
    out = []
    for i in range(length):
        phase = i / length
        if kind == "square":  # a square with softened edges: bright but not harsh
            v = 1.0 if phase < 0.5 else -1.0
            v = 0.75 * v + 0.25 * math.sin(2 * math.pi * phase)
        elif kind == "triangle":
            v = 4 * phase - 1 if phase < 0.5 else 3 - 4 * phase
        elif kind == "pad":
            v = 0.8 * math.sin(2 * math.pi * phase) + 0.2 * math.sin(4 * math.pi * phase)
        out.append(clamp8(v * 100))
    return out


def kick(length=1600):
    out, phase = [], 0.0
    for i in range(length):
        t = i / length
        freq = 0.06 * (1 - t) + 0.008  # cycles per sample, falling
        phase += freq
        out.append(clamp8(127 * math.sin(2 * math.pi * phase) * math.exp(-4 * t)))
    return out


def hat(length=700):
    out, state = [], 0x1234
    for i in range(length):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        noise = ((state >> 16) & 0xFF) - 128
        out.append(clamp8(noise * math.exp(-7 * i / length)))
    return out


# (name, data, volume, looped)
SAMPLES = [
    ("varnex lead", wave("square"), 40, True),
    ("varnex bass", wave("triangle"), 64, True),
    ("varnex pad", wave("pad"), 30, True),
    ("varnex kick", kick(), 64, False),
    ("varnex hat", hat(), 36, False),
]
LEAD, BASS, PAD, KICK, HAT = 1, 2, 3, 4, 5

CHORDS = {  # root (bass, octave 1) and arpeggio tones (octave 2)
    "C": ("C-1", ["C-2", "E-2", "G-2", "E-2"]),
    "G": ("G-1", ["B-1", "D-2", "G-2", "D-2"]),
    "Am": ("A-1", ["A-1", "C-2", "E-2", "C-2"]),
    "F": ("F-1", ["A-1", "C-2", "F-2", "C-2"]),
    "Em": ("E-1", ["G-1", "B-1", "E-2", "B-1"]),
    "Dm": ("D-1", ["D-2", "F-2", "A-2", "F-2"]),
}

# Melodies: row -> note, per pattern (16 rows per chord).
MELODIES = [
    {0: "E-2", 4: "G-2", 8: "C-3", 12: "G-2", 16: "B-2", 20: "D-3", 24: "B-2", 28: "G-2",
     32: "A-2", 36: "C-3", 40: "E-3", 44: "C-3", 48: "F-2", 52: "A-2", 56: "C-3", 60: "G-2"},
    {0: "G-2", 2: "A-2", 4: "G-2", 6: "E-2", 8: "C-3", 12: "E-3", 16: "D-3", 18: "C-3", 20: "B-2",
     22: "A-2", 24: "G-2", 28: "B-2", 32: "C-3", 34: "B-2", 36: "A-2", 38: "G-2", 40: "E-2",
     44: "A-2", 48: "F-2", 50: "G-2", 52: "A-2", 54: "C-3", 56: "G-2", 60: "C-3"},
    {0: "A-2", 2: "C-3", 4: "F-3", 8: "E-3", 10: "D-3", 12: "C-3", 16: "B-2", 18: "D-3", 20: "G-3",
     24: "F-3", 26: "E-3", 28: "D-3", 32: "E-3", 34: "B-2", 36: "G-2", 40: "B-2", 44: "E-3",
     48: "C-3", 50: "E-3", 52: "A-3", 56: "G-3", 58: "E-3", 60: "C-3"},
    {0: "A-2", 4: "C-3", 8: "F-3", 12: "E-3", 16: "D-3", 20: "B-2", 24: "G-2", 28: "B-2",
     32: "C-3", 36: "E-3", 40: "G-3", 44: "E-3", 48: "C-3", 56: "C-3"},
]
PROGRESSIONS = [["C", "G", "Am", "F"], ["C", "G", "Am", "F"], ["F", "G", "Em", "Am"], ["F", "G", "C", "C"]]
ORDER = [0, 1, 0, 1, 2, 3]


def cell(sample=0, note=None, effect=0, param=0):
    p = period(note) if note else 0
    return bytes([(sample & 0xF0) | (p >> 8), p & 0xFF, ((sample & 0x0F) << 4) | effect, param])


def pattern(index):
    melody, chords = MELODIES[index], PROGRESSIONS[index]
    rows = []
    for row in range(ROWS):
        chord = CHORDS[chords[row // 16]]
        beat = row % 16
        # Lead: a note plucks, then the volume slides down a little each row.
        if row in melody:
            lead = cell(LEAD, melody[row], 0xA, 0x01)
        else:
            lead = cell(0, None, 0xA, 0x01)
        # Bass: root on the beat, the octave on the off-beat.
        if beat in (0, 8):
            bass = cell(BASS, chord[0])
        elif beat in (4, 12):
            bass = cell(BASS, chord[0][0:2] + "2")
        else:
            bass = cell(0)
        # Arpeggio on the pad, every second row.
        if row % 2 == 0:
            pad = cell(PAD, chord[1][(row // 2) % 4], 0xA, 0x01)
        else:
            pad = cell(0, None, 0xA, 0x01)
        # Drums: kick on 0 and 8, hat on 4 and 12, soft hats between.
        if beat in (0, 8):
            drum = cell(KICK, "C-2")
        elif beat in (4, 12):
            drum = cell(HAT, "C-3")
        elif beat % 2 == 0:
            drum = cell(HAT, "C-3", 0xC, 0x12)
        else:
            drum = cell(0)
        if index == 0 and row == 0:
            drum = cell(KICK, "C-2", 0xF, 0x06)  # speed 6
        rows.append(lead + bass + pad + drum)
    return b"".join(rows)


def module():
    out = bytearray()
    out += b"Varnex theme".ljust(20, b"\0")
    for i in range(31):
        if i < len(SAMPLES):
            name, data, volume, looped = SAMPLES[i]
            words = len(data) // 2
            loop_start, loop_len = (0, words) if looped else (0, 1)
            out += name.encode().ljust(22, b"\0")
            out += struct.pack(">HBBHH", words, 0, volume, loop_start, loop_len)
        else:
            out += b"\0" * 22 + struct.pack(">HBBHH", 0, 0, 0, 0, 1)
    out += bytes([len(ORDER), 127])
    out += bytes(ORDER + [0] * (128 - len(ORDER)))
    out += b"M.K."
    for p in range(max(ORDER) + 1):
        out += pattern(p)
    for _, data, _, _ in SAMPLES:
        out += bytes(v & 0xFF for v in data)
    return bytes(out)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "music", "varnex_theme.mod")
    with open(target, "wb") as f:
        f.write(module())
    print(target)


if __name__ == "__main__":
    main()
