"""velmora against MNE-Python on one thread: Morlet power and inter-trial coherence of 64
channels x 40 epochs x 1000 samples at 500 Hz, 57 frequencies from 4 to 60 Hz, n_cycles =
freqs / 2; then velmora.snapshot of that TFR against AverageTFR.plot_topomap plus savefig.

    OMP_NUM_THREADS=1 PYTHONPATH=build/default/python /usr/bin/python3 bench/python/tfr_vs_mne.py

Prints the median of --repeat runs (MNE's direct convolution once: it takes minutes).
"""

import argparse
import os
import statistics
import sys
import tempfile
import time

os.environ.setdefault("OMP_NUM_THREADS", "1")
os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")
os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")

import matplotlib  # noqa: E402

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import mne  # noqa: E402
import numpy as np  # noqa: E402

import velmora  # noqa: E402


def epochs():
    montage = mne.channels.make_standard_montage("biosemi64")
    info = mne.create_info(montage.ch_names, 500.0, "eeg").set_montage(montage)
    data = np.random.default_rng(0).standard_normal((40, 64, 1000)) * 1e-6
    return mne.EpochsArray(data, info, tmin=-0.5, verbose=False)


def timed(call, repeat):
    times, result = [], None
    for _ in range(repeat):
        start = time.perf_counter()
        result = call()
        times.append(time.perf_counter() - start)
    return statistics.median(times), result


def main():
    parser = argparse.ArgumentParser(description="velmora against MNE-Python")
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--skip-direct", action="store_true",
                        help="leave out MNE's default direct convolution (minutes)")
    args = parser.parse_args()
    ep = epochs()
    freqs = np.arange(4.0, 61.0, 1.0)
    kw = dict(freqs=freqs, n_cycles=freqs / 2, n_jobs=None, verbose=False)
    mne.set_log_level("ERROR")
    v, (vp, vi) = timed(lambda: velmora.tfr_morlet(ep, **kw), args.repeat)
    print(f"velmora.tfr_morlet:                    {v:8.3f} s")
    f, (fp, _) = timed(lambda: mne.time_frequency.tfr_morlet(ep, use_fft=True, **kw),
                       args.repeat)
    print(f"mne tfr_morlet(use_fft=True):          {f:8.3f} s  ({f / v:.1f}x velmora)")
    if not args.skip_direct:
        d, (dp, _) = timed(lambda: mne.time_frequency.tfr_morlet(ep, **kw), 1)
        print(f"mne tfr_morlet (default, direct):      {d:8.3f} s  ({d / v:.1f}x velmora)")
        fp = dp
    print(f"largest relative difference of power:  {np.max(np.abs(vp.data - fp.data) / fp.data):.2e}")
    with tempfile.TemporaryDirectory() as tmp:
        s, _ = timed(lambda: velmora.snapshot(vp, tmp), args.repeat)
        print(f"velmora.snapshot (three windows):      {s:8.3f} s")

        def topomap():
            fig = vp.plot_topomap(tmin=0.0, tmax=0.8, fmin=8.0, fmax=12.0, show=False)
            fig.savefig(os.path.join(tmp, "topomap.png"))
            plt.close(fig)

        t, _ = timed(topomap, args.repeat)
        print(f"mne plot_topomap + savefig:            {t:8.3f} s  ({t / s:.1f}x velmora)")


if __name__ == "__main__":
    sys.exit(main())
