#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Brinvale developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the four sound cues of the window (app/resources/sounds/*.wav).

Each cue is a few sine notes with a soft attack and an exponential decay, so the clips are
ours and small. The output is the same on every run; the WAVs are committed, and this script
is only run again to change them:

    python3 scripts/make_sounds.py
"""
import math
import os
import struct
import wave

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "resources", "sounds")

# name: (sample rate, bytes per sample, seconds, notes)
# A note is (start s, length s, frequency Hz, loudness 0..1).
CUES = {
    # A rising major arpeggio that rings out: the program is ready.
    "intro": (8000, 2, 1.4, [(0.00, 0.9, 523.25, 0.45), (0.18, 0.9, 659.25, 0.40),
                             (0.36, 1.0, 783.99, 0.40), (0.54, 0.86, 1046.50, 0.30)]),
    # A short upward blip: a run starts.
    "start": (22050, 1, 0.26, [(0.00, 0.12, 880.00, 0.5), (0.11, 0.15, 1318.51, 0.5)]),
    # Two notes and a chord: a run is done.
    "done": (11025, 1, 1.3, [(0.00, 0.30, 783.99, 0.45), (0.22, 1.08, 1046.50, 0.35),
                             (0.22, 1.08, 1318.51, 0.25)]),
    # Two falling notes: a run was cancelled.
    "cxl": (22050, 1, 0.45, [(0.00, 0.22, 659.25, 0.5), (0.20, 0.25, 440.00, 0.5)]),
}


def sample(t, notes):
    value = 0.0
    for start, length, freq, loud in notes:
        u = t - start
        if u < 0 or u >= length:
            continue
        attack = min(1.0, u / 0.008)
        release = min(1.0, (length - u) / 0.02)  # no click at the end of a note
        decay = math.exp(-3.0 * u / length)
        value += loud * attack * release * decay * math.sin(2 * math.pi * freq * u)
    return max(-1.0, min(1.0, value))


def write(name, rate, width, seconds, notes):
    count = int(round(rate * seconds))
    count += (count * width) % 2  # RIFF chunks have even sizes; no pad byte needed
    frames = bytearray()
    for i in range(count):
        v = sample(i / rate, notes)
        if width == 1:
            frames.append(int(round(128 + 127 * v)))  # 8-bit PCM is unsigned
        else:
            frames += struct.pack("<h", int(round(32767 * v)))
    with wave.open(os.path.join(OUT, name + ".wav"), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(width)
        out.setframerate(rate)
        out.writeframes(bytes(frames))


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, (rate, width, seconds, notes) in CUES.items():
        write(name, rate, width, seconds, notes)


if __name__ == "__main__":
    main()
