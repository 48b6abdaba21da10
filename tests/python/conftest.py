"""MNE objects built in the tests: EEG on the BioSemi 64 cap, MEG on the Neuromag 306 helmet,
with an alpha rise over the back of the head after time 0."""

import os
import sys

import numpy as np
import pytest

SOURCE = os.environ.get("VELMORA_SOURCE_DIR",
                        os.path.join(os.path.dirname(__file__), "..", ".."))
if os.environ.get("VELMORA_PYTHON_PATH"):
    sys.path.insert(0, os.environ["VELMORA_PYTHON_PATH"])

mne = pytest.importorskip("mne")
mne.set_log_level("ERROR")


def _alpha_epochs(info, back, scale, n_epochs=8, n_times=500, seed=0):
    rng = np.random.default_rng(seed)
    t = np.arange(n_times) / info["sfreq"] - 0.4
    data = rng.standard_normal((n_epochs, len(info["ch_names"]), n_times)) * scale
    data[:, back, :] += 4 * scale * np.sin(2 * np.pi * 10 * t) * (t > 0)
    return mne.EpochsArray(data, info, tmin=-0.4)


@pytest.fixture
def eeg_epochs():
    montage = mne.channels.make_standard_montage("biosemi64")
    info = mne.create_info(montage.ch_names, 250.0, "eeg")
    info.set_montage(montage)
    back = [i for i, n in enumerate(montage.ch_names) if n.startswith(("O", "PO"))]
    return _alpha_epochs(info, back, 1e-6)


# The device sits 4 cm above the head's origin.
LIFT = 0.04


@pytest.fixture
def meg_epochs():
    path = os.path.join(SOURCE, "data", "layouts", "meg306-neuromag.txt")
    rows = [line.split() for line in open(path) if not line.startswith("#")]
    info = mne.create_info([r[0] for r in rows], 250.0, [r[1] for r in rows])
    for ch, r in zip(info["chs"], rows):
        loc = np.zeros(12)
        loc[:3] = np.array(r[2:5], dtype=float) - [0, 0, LIFT]
        loc[9:12] = np.array(r[5:8], dtype=float)
        ch["loc"] = loc
    trans = np.eye(4)
    trans[2, 3] = LIFT
    info["dev_head_t"] = mne.transforms.Transform("meg", "head", trans)
    back = [i for i, r in enumerate(rows) if float(r[3]) < -0.05]
    return _alpha_epochs(info, back, 1e-12)


@pytest.fixture
def freqs():
    return np.arange(6.0, 31.0, 2.0)
