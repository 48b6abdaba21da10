#!/usr/bin/python3
"""velmora's spectra with MNE-Python's settings against MNE-Python's own.

Usage: mne_compare.py VELMORA WRITE_MNE_RECORDING

An EDF+ recording written by EDFlib (EEG in uV) is opened by velmora with
--cycles-divisor 2 --zero-mean --normalisation mne --step sample --edges nearest and saved
with --save-tfr as NumPy folders; MNE-Python 1.3 cuts the same epochs and computes
tfr_morlet(n_cycles=freqs / 2, zero_mean=True, decim=1). The Active power, made an
AverageTFR from the NumPy folder, must equal MNE-Python's to 1e-4 relative wherever the
wavelet (MNE-Python's reaches 5 sigma) stays inside the epoch. The -tfr.h5 file saved for the
same spectra must open as MNE-Python's read_tfrs opens it. Exits 77 (skipped) when this
python3 has no mne.
"""
import os
import subprocess
import sys
import tempfile

try:
    import mne
    import numpy as np
except ImportError:
    print("mne_compare: python3 cannot import mne; skipped")
    sys.exit(77)

FREQS = np.arange(4.0, 42.0, 2.0)
TMIN, TMAX = -0.4, 0.8


def run_velmora(velmora, rec, save):
    args = [velmora, rec, "--layout", "eeg1010", "--event", "stim", "--control", "-400,0",
            "--active", "0,800", "--freqs", "4,40,2", "--cycles-divisor", "2", "--zero-mean",
            "--normalisation", "mne", "--step", "sample", "--edges", "nearest", "--summary",
            "--save-tfr", save]
    done = subprocess.run(args, capture_output=True, text=True, check=False)
    if done.returncode != 0:
        sys.exit("velmora failed (%d): %s%s" % (done.returncode, done.stdout, done.stderr))
    return done.stdout


def mne_power(rec):
    raw = mne.io.read_raw_edf(rec, preload=True, verbose="error")
    events, _ = mne.events_from_annotations(raw, event_id={"stim": 1}, verbose="error")
    epochs = mne.Epochs(raw, events, tmin=TMIN, tmax=TMAX, baseline=None, preload=True,
                        verbose="error")
    power = mne.time_frequency.tfr_morlet(epochs, FREQS, n_cycles=FREQS / 2.0, use_fft=True,
                                          return_itc=False, decim=1, zero_mean=True,
                                          average=True, verbose="error")
    # MNE-Python works in volts, the file and velmora in microvolts.
    power.data *= 1e12
    return power, len(epochs)


def from_npy_folder(folder, nave):
    data = np.load(os.path.join(folder, "power.npy"))
    times = np.load(os.path.join(folder, "times.npy"))
    freqs = np.load(os.path.join(folder, "freqs.npy"))
    with open(os.path.join(folder, "ch_names.txt"), encoding="utf-8") as f:
        names = f.read().splitlines()
    info = mne.create_info(names, 1.0 / (times[1] - times[0]), "eeg")
    return mne.time_frequency.AverageTFR(info, data, times, freqs, nave)


def compare(ours, theirs, epoch_start, epoch_end):
    """Largest relative difference where MNE-Python's wavelet lies inside the epoch."""
    assert ours.ch_names == theirs.pick(ours.ch_names).ch_names, (ours.ch_names, theirs.ch_names)
    np.testing.assert_allclose(ours.freqs, FREQS)
    at = np.searchsorted(theirs.times, ours.times - 1e-9)
    np.testing.assert_allclose(theirs.times[at], ours.times, atol=1e-9)
    worst, compared = 0.0, 0
    for j, f in enumerate(FREQS):
        half = 5.0 * (f / 2.0) / (2.0 * np.pi * f)  # 5 sigma_t
        inside = (ours.times - half >= epoch_start) & (ours.times + half <= epoch_end)
        a = ours.data[:, j, inside]
        b = theirs.data[:, j, at[inside]]
        compared += a.size
        worst = max(worst, float(np.max(np.abs(a - b) / np.abs(b))))
    return worst, compared


def h5_read(node):
    """h5io's reader (not packaged for Debian) for what read_tfrs needs."""
    import h5py
    title = node.attrs["TITLE"]
    title = title.decode() if isinstance(title, bytes) else title
    if isinstance(node, h5py.Group):
        if title == "dict":
            return {key[4:]: h5_read(sub) for key, sub in node.items()}
        items, n = [], 0
        while "idx_%d" % n in node:
            items.append(h5_read(node["idx_%d" % n]))
            n += 1
        return tuple(items) if title == "tuple" else items
    if title == "ndarray":
        return np.array(node)
    if title in ("int", "float"):
        return (int if title == "int" else float)(np.array(node)[0])
    if title == "unicode":
        return np.array(node).tobytes().decode("utf-8")
    if title == "None":
        return None
    raise TypeError("unknown h5io node %s" % title)


def read_tfrs(path):
    try:
        return mne.time_frequency.read_tfrs(path)
    except (ImportError, RuntimeError):  # MNE-Python without h5io
        import h5py
        with h5py.File(path, "r") as f:
            pairs = h5_read(f["mnepython"])
        out = []
        for _, attrs in pairs:
            attrs["info"] = mne.Info(attrs["info"])
            attrs["info"]._check_consistency()
            out.append(mne.time_frequency.AverageTFR(**attrs))
        return out


def check_h5(path, npy_root):
    tfrs = read_tfrs(path)
    assert [t.comment for t in tfrs] == ["active", "control", "result"], [t.comment for t in tfrs]
    for tfr in tfrs:
        npy = np.load(os.path.join(npy_root, tfr.comment, "power.npy"))
        np.testing.assert_array_equal(tfr.data, npy)
        np.testing.assert_allclose(tfr.times, np.load(os.path.join(npy_root, tfr.comment, "times.npy")))
        assert tfr.get_channel_types() == ["eeg"] * len(tfr.ch_names), tfr.get_channel_types()
        pos = np.array([ch["loc"][:3] for ch in tfr.info["chs"]])
        assert np.all(np.isfinite(pos)) and np.all(np.linalg.norm(pos, axis=1) > 0.01), pos
    print("read_tfrs: %d conditions, channels %s" % (len(tfrs), tfrs[0].ch_names))


def main():
    velmora, writer = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as tmp:
        rec = subprocess.run([writer, tmp], capture_output=True, text=True,
                             check=True).stdout.strip()
        summary = run_velmora(velmora, rec, os.path.join(tmp, "tfr"))
        run_velmora(velmora, rec, os.path.join(tmp, "sub-tfr.h5"))
        theirs, nave = mne_power(rec)
        ours = from_npy_folder(os.path.join(tmp, "tfr", "active"), nave)
        # Nearest edges: the epoch from -398.4 ms, 308 samples, as MNE-Python cuts it.
        first, last = theirs.times[0], theirs.times[-1]
        assert "308 samples at 256 Hz, -398.4 to 800.8 ms" in summary, summary
        worst, compared = compare(ours, theirs, first, last)
        print("Active power: %d points compared, largest relative difference %.3g"
              % (compared, worst))
        if not compared or worst > 1e-4:
            sys.exit("velmora's power differs from MNE-Python's by %.3g (relative)" % worst)
        check_h5(os.path.join(tmp, "sub-tfr.h5"), os.path.join(tmp, "tfr"))


if __name__ == "__main__":
    main()
