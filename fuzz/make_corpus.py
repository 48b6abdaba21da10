#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (fuzz/corpus/<target>/) from the tests' own
fixtures, the shipped layouts and small recordings the io tests' writers produce.

Usage: make_corpus.py [RECORDINGS]  RECORDINGS: a folder of files written by io_test::write
(EDF+, BDF+, GDF, BrainVision; 2 s at 64 Hz, channels Fz and Cz, "stim" events, the stem "rec"
that BrainVision's header names); without it the recording corpus is left as it is.
Inputs made of several files join them with the separator of FuzzFolder.h.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
FIXTURES = os.path.join(ROOT, "tests", "io", "fixtures")
LAYOUTS = os.path.join(ROOT, "data", "layouts")
SEP = b"\n--velmora-fuzz-file--\n"


def read(path):
    with open(path, "rb") as f:
        return f.read()


def corpus(target):
    """The target's corpus folder, emptied except for the findings (finding-*)."""
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        if not name.startswith("finding-"):
            os.remove(os.path.join(folder, name))
    return folder


def put(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def npy():
    out = corpus("npy")
    for name in sorted(os.listdir(FIXTURES)):
        folder = os.path.join(FIXTURES, name)
        if not name.startswith("npy_"):
            continue
        parts = [read(os.path.join(folder, f))
                 for f in ("power.npy", "freqs.npy", "times.npy", "ch_names.txt")]
        put(out, name, SEP.join(parts))
    put(out, "units", SEP.join(parts + [b"uV\nuV\nuV\n"]))
    put(out, "array", read(os.path.join(FIXTURES, "npy_f8_c", "freqs.npy")))


def mne_tfr():
    out = corpus("mne_tfr")
    for name in sorted(os.listdir(FIXTURES)):
        if name.endswith("-tfr.h5"):
            put(out, name, read(os.path.join(FIXTURES, name)))


def layout():
    out = corpus("layout")
    biosemi = read(os.path.join(LAYOUTS, "eeg64-biosemi.txt"))
    put(out, "typed-eeg", biosemi)
    for name in ("meg306-neuromag", "ctf274"):
        lines = read(os.path.join(LAYOUTS, name + ".txt")).splitlines(keepends=True)
        put(out, "typed-" + name, b"".join(lines[:40]))
    rows = [l.split() for l in biosemi.splitlines() if l and not l.startswith(b"#")]
    cm = [(r[0], [float(v) * 100 for v in r[2:5]]) for r in rows[:32]]
    plain = b"".join(b"%s %.4f %.4f %.4f\n" % (l, *p) for l, p in cm)
    put(out, "plain-cm", plain)
    put(out, "sfp-bom-crlf", b"\xef\xbb\xbf" + plain.replace(b"\n", b"\r\n"))
    elc = b"# ASA electrode file\nReferenceLabel\tavg\nUnitPosition\tmm\nNumberPositions=\t%d\n" \
          b"Positions\n" % len(cm)
    elc += b"".join(b"%.3f %.3f %.3f\n" % tuple(v * 10 for v in p) for _, p in cm)
    elc += b"Labels\n" + b"".join(l + b"\n" for l, _ in cm)
    put(out, "elc-mm", elc)
    fid = b"NAS 0 9.5 0\nLPA -8 0 0\nRPA 8 0 0\n"
    put(out, "plain-fiducials", fid + plain)


def demo_options():
    out = corpus("demo_options")
    lines = [
        "--summary",
        "--seed\x0042",
        "--recording\x00rec.edf\x00--event\x00stim\x00--active\x000\x00800",
        "--recording\x00rec.bdf\x00--code\x001\x00--control\x00-400\x000\x00--epoch\x00-500\x001000"
        "\x00--freqs\x004\x0040\x0012",
        "--tfr\x00power-tfr.h5\x00--condition\x00a\x00--class\x00result\x00--layout\x00ctf274",
        "--tfr\x00npy\x00--drop-unplaced\x00--eeg\x00--sensors\x00grad\x00--channel\x00Cz",
        "--snapshots\x00out\x00--sweep\x0010\x00--movie\x00m.mp4\x00--tmin\x00-100\x00--tmax\x00500"
        "\x00--fmin\x008\x00--fmax\x0013",
        "--help",
    ]
    for i, line in enumerate(lines):
        put(out, "args%d" % i, line.encode())


def recording(source):
    out = corpus("recording")
    for folder, _, names in sorted(os.walk(source)):
        for name in sorted(names):
            stem, ext = os.path.splitext(name)
            if ext == ".vhdr":
                parts = [read(os.path.join(folder, stem + e)) for e in (".vhdr", ".vmrk", ".eeg")]
                put(out, stem + "-brainvision", SEP.join(parts))
            elif ext in (".edf", ".bdf", ".gdf"):
                put(out, stem + ext.replace(".", "-"), read(os.path.join(folder, name)))


if __name__ == "__main__":
    npy()
    mne_tfr()
    layout()
    demo_options()
    if len(sys.argv) > 1:
        recording(sys.argv[1])
