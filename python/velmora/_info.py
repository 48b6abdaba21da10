"""Sensor positions, kinds and units of MNE channels, for the data set."""

import warnings
from dataclasses import dataclass

import numpy as np

# Coil types of axial gradiometers (MNE's FIFF constants): CTF, KIT, Magnes.
_AXIAL_COILS = {5001, 6001, 4002, 7001}
# Each MNE channel type as the data set holds it: sensor kind, unit and the factor that turns
# MNE's SI values into that unit (power takes its square).
_MAG, _PLANAR, _AXIAL = 0, 1, 2
_UNITS = {"mag": ("fT", 1e15), "grad": ("fT/cm", 1e13), "eeg": ("µV", 1e6)}


@dataclass
class Channel:
    """One channel the windows can show."""
    index: int          # in the info
    name: str
    kind: str           # "mag", "grad" or "eeg"
    sensor: int         # MEG sensor kind (0 magnetometer, 1 planar, 2 axial); -1 for EEG
    pos: np.ndarray     # metres, head coordinates where the info says where the head is
    normal: np.ndarray
    unit: str
    scale: float


def _transform(info):
    trans = info.get("dev_head_t")
    return None if trans is None else np.asarray(trans["trans"], dtype=float)


def _montage_positions(info):
    try:
        montage = info.get_montage()
    except (RuntimeError, ValueError):
        return {}
    if montage is None:
        return {}
    return montage.get_positions()["ch_pos"]


def _placed(pos):
    return pos is not None and np.all(np.isfinite(pos)) and np.any(pos != 0)


def _meg_channel(index, ch, kind, trans):
    loc = np.asarray(ch["loc"], dtype=float)
    pos, normal = loc[:3].copy(), loc[9:12].copy()
    if not _placed(pos):
        return None
    if trans is not None:
        pos = trans[:3, :3] @ pos + trans[:3, 3]
        normal = trans[:3, :3] @ normal
    if kind == "grad":
        sensor = _PLANAR
    else:
        sensor = _AXIAL if int(ch["coil_type"]) in _AXIAL_COILS else _MAG
    unit, scale = _UNITS[kind]
    return Channel(index, ch["ch_name"], kind, sensor, pos, normal, unit, scale)


def _eeg_channel(index, ch, montage):
    pos = np.asarray(ch["loc"][:3], dtype=float)
    if not _placed(pos):
        pos = montage.get(ch["ch_name"])
        if not _placed(pos):
            return None
    unit, scale = _UNITS["eeg"]
    return Channel(index, ch["ch_name"], "eeg", -1, np.asarray(pos, dtype=float),
                   np.zeros(3), unit, scale)


def channels(info):
    """The MEG and EEG channels of ``info`` with a position, and whether the head's front is
    known (head coordinates). Channels without a position, and channels of other types, are
    left out with a warning naming them; none left is a ValueError."""
    import mne
    trans = _transform(info)
    montage = None
    placed, unplaced, other = [], [], []
    for index, ch in enumerate(info["chs"]):
        kind = mne.io.pick.channel_type(info, index)
        if kind in ("mag", "grad"):
            channel = _meg_channel(index, ch, kind, trans)
        elif kind == "eeg":
            montage = _montage_positions(info) if montage is None else montage
            channel = _eeg_channel(index, ch, montage)
        else:
            other.append(ch["ch_name"])
            continue
        (placed if channel else unplaced).append(channel or ch["ch_name"])
    if unplaced:
        warnings.warn("channels without a position are left out: " + ", ".join(unplaced),
                      stacklevel=3)
    if other:
        warnings.warn("channels that are neither MEG nor EEG are left out: " +
                      ", ".join(other), stacklevel=3)
    if not placed:
        raise ValueError("no MEG or EEG channel has a position: set a montage "
                         "(inst.set_montage) or keep the sensors' locations in info")
    head = trans is not None or all(c.kind == "eeg" for c in placed)
    return placed, head
