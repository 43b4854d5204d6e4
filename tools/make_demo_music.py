#!/usr/bin/env python3
"""Synthesises the demo project's background music and the tone the sound tests play.

    make_demo_music.py demo <out.wav|out.mp3>      the demo piece (about 25 s, stereo)
    make_demo_music.py tone <seconds> <out.mp3>   a quiet mono tone of that length

Everything is additive synthesis with the standard library; the result is written as a
16-bit PCM WAVE file. An .mp3 output is encoded from that file with `lame` (Debian package
"lame"), which only this script needs: the build uses the encoded files as they are committed
(assets/demo/demo_music.mp3, tests/player/sound/data/tone_7_9s.mp3).
"""

import array
import math
import os
import random
import shutil
import subprocess
import sys
import tempfile
import wave

RATE = 44100


class Track:
    """A stereo mix buffer of floats."""

    def __init__(self, seconds):
        self.frames = int(seconds * RATE)
        self.left = array.array("d", bytes(8 * self.frames))
        self.right = array.array("d", bytes(8 * self.frames))

    def add(self, start, samples, pan=0.0):
        """Mixes mono samples in at `start` seconds; pan -1 (left) to 1 (right)."""
        first = int(start * RATE)
        gl = math.cos((pan + 1) * math.pi / 4)
        gr = math.sin((pan + 1) * math.pi / 4)
        left, right = self.left, self.right
        for i, s in enumerate(samples):
            j = first + i
            if j >= self.frames:
                break
            left[j] += s * gl
            right[j] += s * gr


def midi_hz(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


def voice(freq, seconds, partials, attack, release, decay=0.0, detune=0.0):
    """One note: a sum of (ratio, amplitude) partials under an attack / decay / release
    envelope. `decay` is an exponential fall per second; `detune` adds a second copy a few
    cents sharp for a softer, chorused sound."""
    n = int(seconds * RATE)
    out = array.array("d", bytes(8 * n))
    copies = [(freq, 1.0)] + ([(freq * 2 ** (detune / 1200.0), 0.7)] if detune else [])
    for base, level in copies:
        for ratio, amp in partials:
            f = base * ratio
            if f >= RATE / 2:
                continue
            step = 2 * math.pi * f / RATE
            a = amp * level
            for i in range(n):
                out[i] += a * math.sin(step * i)
    a_n = max(1, int(attack * RATE))
    r_n = max(1, int(release * RATE))
    for i in range(n):
        env = min(1.0, i / a_n) * min(1.0, (n - i) / r_n)
        if decay:
            env *= math.exp(-decay * i / RATE)
        out[i] *= env
    return out


PAD = [(1, 0.5), (2, 0.25), (3, 0.12), (4, 0.06), (5, 0.03)]
BELL = [(1, 0.6), (2, 0.3), (3.01, 0.12), (4.2, 0.08), (5.4, 0.03)]
BASS = [(1, 0.8), (2, 0.2), (3, 0.05)]


def demo_piece():
    """Four chords, twice round: a pad, a soft bass and a bell melody at 84 beats a minute."""
    beat = 60.0 / 84.0
    bar = 4 * beat
    # (root for the bass, pad notes) per bar: Dmaj7, Bm7, Gmaj7, A6sus.
    chords = [
        (38, [62, 66, 69, 73]),
        (35, [59, 62, 66, 69]),
        (31, [55, 59, 62, 66]),
        (33, [57, 62, 64, 66]),
    ]
    # Melody per bar: (beat, length in beats, note).
    phrases = [
        [(0, 1.5, 78), (1.5, 0.5, 76), (2, 2, 74)],
        [(0, 1, 73), (1, 1, 74), (2, 2, 71)],
        [(0, 1.5, 74), (1.5, 0.5, 73), (2, 1, 71), (3, 1, 69)],
        [(0, 3, 69), (3, 1, 73)],
        [(0, 1, 78), (1, 1, 81), (2, 2, 78)],
        [(0, 1.5, 76), (1.5, 0.5, 74), (2, 2, 73)],
        [(0, 1, 71), (1, 1, 74), (2, 1, 78), (3, 1, 76)],
        [(0, 4, 74)],
    ]
    bars = len(phrases)
    tail = 2.0
    track = Track(bars * bar + tail)
    rng = random.Random(20240611)
    for b in range(bars):
        root, notes = chords[b % len(chords)]
        t = b * bar
        for k, note in enumerate(notes):
            track.add(t, voice(midi_hz(note), bar + 0.6, PAD, 0.6, 0.9, detune=6),
                      pan=-0.5 + k / 3.0)
        for half in (0, 2):
            track.add(t + half * beat, voice(midi_hz(root), 2 * beat, BASS, 0.02, 0.4,
                                             decay=0.9), pan=0.0)
        for start, length, note in phrases[b]:
            jitter = rng.uniform(-0.012, 0.012)
            track.add(t + start * beat + max(0.0, jitter),
                      voice(midi_hz(note), length * beat + 1.2, BELL, 0.005, 0.6, decay=1.6),
                      pan=rng.uniform(-0.3, 0.3))
    # Soft edges, so that the playlist's loop does not click.
    fade_in, fade_out = int(0.3 * RATE), int(1.5 * RATE)
    for i in range(track.frames):
        g = min(1.0, i / fade_in, (track.frames - i) / fade_out)
        track.left[i] *= g
        track.right[i] *= g
    return track


def tone(seconds):
    track = Track(seconds)
    step = 2 * math.pi * 440.0 / RATE
    edge = int(0.05 * RATE)
    for i in range(track.frames):
        g = 0.3 * min(1.0, i / edge, (track.frames - i) / edge)
        s = g * math.sin(step * i)
        track.left[i] = s
        track.right[i] = s
    return track


def write_wave(track, path, channels):
    peak = max(1e-9, max(max(map(abs, track.left)), max(map(abs, track.right))))
    gain = min(1.0, 0.89 / peak) * 32767  # about -1 dB below full scale at most
    pcm = array.array("h")
    for l, r in zip(track.left, track.right):
        if channels == 1:
            pcm.append(int(round((l + r) / 2 * gain)))
        else:
            pcm.append(int(round(l * gain)))
            pcm.append(int(round(r * gain)))
    if sys.byteorder != "little":
        pcm.byteswap()
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


def write(track, path, channels, lame_args):
    if not path.endswith(".mp3"):
        write_wave(track, path, channels)
        return
    lame = shutil.which("lame")
    if lame is None:
        sys.exit("make_demo_music.py: encoding MP3 needs lame (apt-get install lame)")
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "music.wav")
        write_wave(track, wav, channels)
        subprocess.run([lame, "--quiet", "--noreplaygain"] + lame_args + [wav, path],
                       check=True)


def main(argv):
    if len(argv) == 3 and argv[1] == "demo":
        write(demo_piece(), argv[2], 2, ["--cbr", "-b", "96", "-q", "2"])
    elif len(argv) == 4 and argv[1] == "tone":
        write(tone(float(argv[2])), argv[3], 1, ["-m", "m", "--cbr", "-b", "16", "--resample",
                                                 "22.05"])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
