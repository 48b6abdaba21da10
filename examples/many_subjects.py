"""Spectra and pictures of many subjects at once on a Dask cluster.

Each subject's epochs go to a worker process, which computes their Morlet power with
velmora.tfr_morlet and paints the contour map of the alpha-band contrast with
velmora.snapshot. Here the subjects are synthetic (a BioSemi 64 cap with an occipital alpha
rise); put your own loading into subject_epochs.

    /usr/bin/python3 examples/many_subjects.py                 # a LocalCluster on this machine
    /usr/bin/python3 examples/many_subjects.py --scheduler tcp://host:8786   # a cluster's

The same code runs on a cluster's scheduler: the workers need velmora importable (installed,
or on PYTHONPATH) and this file on their path.
"""

import argparse
import os

import numpy as np

import velmora

FREQS = np.arange(4.0, 31.0, 2.0)
SFREQ = 250.0


def subject_epochs(subject, n_epochs=20):
    """The epochs of one subject (synthetic: noise, and 10 Hz over the back after 0 s)."""
    import mne
    montage = mne.channels.make_standard_montage("biosemi64")
    info = mne.create_info(montage.ch_names, SFREQ, "eeg")
    info.set_montage(montage)
    rng = np.random.default_rng(subject)
    t = np.arange(500) / SFREQ - 0.4
    data = rng.standard_normal((n_epochs, len(montage.ch_names), t.size)) * 1e-6
    back = [i for i, n in enumerate(montage.ch_names) if n.startswith(("O", "PO"))]
    data[:, back] += (2 + subject % 3) * 1e-6 * np.sin(2 * np.pi * 10 * t) * (t > 0)
    return mne.EpochsArray(data, info, tmin=-0.4, verbose=False)


def analyse(subject, out_dir):
    """One subject on one worker: its power (channels x frequencies x times) and the paths of
    its pictures."""
    power = velmora.tfr_morlet(subject_epochs(subject), FREQS, FREQS / 2, return_itc=False)
    pictures = velmora.snapshot(power, os.path.join(out_dir, f"subject-{subject:02d}"),
                                baseline=(-0.3, 0.0), mode="logratio", tmin=0.0, tmax=0.8)
    return subject, power.data, pictures


def run(subjects, out_dir, client):
    """Every subject through the client's workers, results in subject order."""
    futures = client.map(analyse, subjects, out_dir=out_dir)
    return sorted(client.gather(futures), key=lambda r: r[0])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--subjects", type=int, default=6)
    parser.add_argument("--workers", type=int, default=2, help="of the LocalCluster")
    parser.add_argument("--scheduler", help="address of a running Dask scheduler")
    parser.add_argument("--out", default="many-subjects", help="folder of the pictures")
    args = parser.parse_args()
    from dask.distributed import Client, LocalCluster
    if args.scheduler:
        client = Client(args.scheduler)
    else:
        client = Client(LocalCluster(n_workers=args.workers, threads_per_worker=1,
                                     processes=True, dashboard_address=None))
    with client:
        for subject, power, pictures in run(range(args.subjects), args.out, client):
            print(f"subject {subject}: power {power.shape}, pictures {', '.join(pictures)}")


if __name__ == "__main__":
    main()
