"""Velmora's windows for MNE-Python's spectra and epochs: on the desktop, or painted into
PNG files and movies."""

import os
import re
import warnings

import numpy as np

from . import _info, _velmora
from ._arrays import as_float64
from ._tfr import _threads

_Settings = _velmora.SpectrumSettings
_CLASSES = {"active": 0, "control": 1, "result": 2}
# The map's MEG sensors (-2: magnetometers when the recording has several kinds).
_SENSORS = {None: -2, "all": -1, "mag": 0, "grad": 1, "axial": 2}
_SENSOR_NAMES = {0: "mag", 1: "grad", 2: "axial"}
# AverageTFR.apply_baseline's modes, and the unit the windows give their values.
_BASELINE_UNITS = {"mean": _Settings.ResultMode.Difference, "ratio": _Settings.ResultMode.Ratio,
                   "logratio": _Settings.ResultMode.Ratio,
                   "percent": _Settings.ResultMode.PercentChange,
                   "zscore": _Settings.ResultMode.ZScore,
                   "zlogratio": _Settings.ResultMode.ZScore}
# The contrasts the data set computes from epochs.
_EPOCH_MODES = {"db": _Settings.ResultMode.Decibel, "mean": _Settings.ResultMode.Difference,
                "ratio": _Settings.ResultMode.Ratio,
                "percent": _Settings.ResultMode.PercentChange,
                "zscore": _Settings.ResultMode.ZScore}


def _choice(value, choices, what):
    if value not in choices:
        names = ", ".join(repr(c) for c in choices if c is not None)
        raise ValueError(f"{what} must be one of {names}, not {value!r}")
    return choices[value]


class _View:
    """A data set built from MNE channels and the options of its windows."""

    def __init__(self, info):
        self.channels, head = _info.channels(info)
        self.data = _velmora.DataSet()
        for c in self.channels:
            if c.kind == "eeg":
                self.data.add_eeg(c.name, c.pos.tolist(), c.unit)
            else:
                self.data.add_meg(c.name, c.sensor, c.pos.tolist(), c.normal.tolist(), c.unit)
        if head:
            # MNE's head coordinates: x to the right ear, y to the nose.
            self.data.set_head_frame([0.0, 1.0, 0.0], [1.0, 0.0, 0.0])
        self.options = {}

    def picks(self):
        return [c.index for c in self.channels]

    def scales(self, power):
        factor = np.array([c.scale for c in self.channels])
        return factor ** 2 if power else factor

    def choose(self, spectral_class, sensors, channel, tmin, tmax, fmin, fmax, times, freqs):
        o = self.options
        o["spectral_class"] = _choice(spectral_class, _CLASSES, "spectral_class")
        kinds = {c.sensor for c in self.channels if c.kind != "eeg"}
        if sensors == "eeg" or (sensors is None and not kinds):
            if all(c.kind != "eeg" for c in self.channels):
                raise ValueError("sensors='eeg': the data hold no EEG channel with a position")
            o["eeg"] = True
        else:
            o["sensor_kind"] = _choice(sensors, _SENSORS, "sensors")
            if o["sensor_kind"] >= 0 and o["sensor_kind"] not in kinds:
                present = ", ".join(_SENSOR_NAMES[k] for k in sorted(kinds)) or "none"
                raise ValueError(f"sensors={sensors!r}: the data hold no such MEG sensors "
                                 f"(present: {present})")
        if channel is not None:
            if channel not in [c.name for c in self.channels]:
                raise ValueError(f"channel {channel!r} is not among the channels shown")
            o["channel"] = channel
        self._window(tmin, tmax, np.asarray(times) * 1000.0, "tmin_ms", "tmax_ms", 1000.0, "s")
        self._window(fmin, fmax, np.asarray(freqs), "fmin_hz", "fmax_hz", 1.0, "Hz")

    def _window(self, lo, hi, axis, lo_key, hi_key, scale, unit):
        for key, value in ((lo_key, lo), (hi_key, hi)):
            if value is not None:
                if not np.isfinite(value):
                    raise ValueError(f"the contour window must be finite, not {value}")
                self.options[key] = float(value) * scale
        a = self.options.get(lo_key, -np.inf)
        b = self.options.get(hi_key, np.inf)
        if not np.any((axis >= a) & (axis <= b)):
            raise ValueError(f"the contour window {lo} to {hi} {unit} holds no point of the "
                             f"spectra ({axis[0] / scale:g} to {axis[-1] / scale:g} {unit})")

    def run(self, **extra):
        status, log = self.data.run({**self.options, **extra})
        if status != 0:
            errors = [line[len("velmora: "):] for line in log.splitlines()
                      if line.startswith("velmora: ")]
            raise RuntimeError("; ".join(errors) or log.strip() or "the windows failed")
        return [line[len("wrote "):] for line in log.splitlines()
                if line.startswith("wrote ") and line.endswith(".png")], log


def _even_step_ms(times):
    times = np.asarray(times, dtype=float)
    if times.size < 2:
        return 1.0
    steps = np.diff(times)
    if not np.all(steps > 0) or np.ptp(steps) > 1e-6 * steps[0]:
        raise ValueError("the TFR's times must be evenly spaced and increasing")
    return 1000.0 * steps[0]


def _tfr_view(tfr, baseline, mode, sensors, channel, tmin, tmax, fmin, fmax):
    """The data set of an AverageTFR (power as Active, or its baseline contrast as Result)
    with the windows' options chosen."""
    import mne
    if not isinstance(tfr, mne.time_frequency.AverageTFR):
        raise TypeError("tfr must be an mne.time_frequency.AverageTFR (average an EpochsTFR "
                        f"first), not {type(tfr).__name__}")
    if np.iscomplexobj(tfr.data):
        raise TypeError("tfr must hold power, not complex coefficients")
    view = _View(tfr.info)
    data, cls = tfr.data, 0
    if baseline is not None:
        result_mode = _choice(mode, _BASELINE_UNITS, "mode")
        data = tfr.copy().apply_baseline(baseline, mode=mode, verbose=False).data
        cls = 2
        view.data.set_result_mode(result_mode)
    scales = view.scales(power=True)
    if cls == 2 and mode != "mean":
        scales = np.ones_like(scales)
    view.data.set_spectra(cls, 1000.0 * tfr.times[0], _even_step_ms(tfr.times),
                          np.asarray(tfr.freqs, dtype=float).tolist(),
                          np.ascontiguousarray(as_float64(data, "the power")), view.picks(),
                          scales.tolist())
    view.data.finish()
    name = {0: "active", 2: "result"}[cls]
    view.choose(name, sensors, channel, tmin, tmax, fmin, fmax, tfr.times, tfr.freqs)
    return view


def show(tfr, *, baseline=None, mode="mean", tmin=None, tmax=None, fmin=None, fmax=None,
         channel=None, sensors=None):
    """Open the single-channel window, the contour map and the parameters window of an
    ``AverageTFR`` on the desktop; returns when the last one is closed.

    Power is shown as the Active class; with ``baseline`` (seconds, as for
    ``tfr.apply_baseline``) and ``mode`` the contrast is shown as the Result class. The contour
    map's window spans ``tmin`` to ``tmax`` (s) and ``fmin`` to ``fmax`` (Hz) (default: the
    whole epoch on the alpha band); ``channel`` names the single-channel window's channel
    (default: the strongest); ``sensors`` picks the map's sensors: "mag", "grad", "axial",
    "all" or "eeg" (default: magnetometers when there are several kinds). Without a display
    the windows are painted into ./snapshots instead.
    """
    view = _tfr_view(tfr, baseline, mode, sensors, channel, tmin, tmax, fmin, fmax)
    _interactive(view)


def _interactive(view):
    """Runs the windows on the desktop; says so when there is none and they went to files."""
    paths, log = view.run()
    if paths:
        warnings.warn(log.splitlines()[0], stacklevel=3)


def snapshot(tfr, out_dir, *, baseline=None, mode="mean", tmin=None, tmax=None, fmin=None,
             fmax=None, channel=None, sensors=None):
    """Paint the windows of ``show`` into PNG files in ``out_dir``; returns their paths."""
    view = _tfr_view(tfr, baseline, mode, sensors, channel, tmin, tmax, fmin, fmax)
    return view.run(snapshot_dir=_folder(out_dir))[0]


def sweep(tfr, out_dir, n, movie=None, *, baseline=None, mode="mean", tmin=None, tmax=None,
          fmin=None, fmax=None, channel=None, sensors=None):
    """Sweep the contour map's window ``n`` animation steps: the frames go into ``out_dir``
    (sweep-00000.png, ...) and, when ``movie`` names a file (.mp4, .mkv, ...), into a movie.
    Returns the paths of the frames (and of the movie)."""
    n = _ticks(n)
    view = _tfr_view(tfr, baseline, mode, sensors, channel, tmin, tmax, fmin, fmax)
    return _sweep(view, out_dir, n, movie)


def _ticks(n):
    if isinstance(n, bool) or not isinstance(n, (int, np.integer)) or not 1 <= n <= 100000:
        raise ValueError(f"n must be a whole number of steps from 1 to 100000, not {n!r}")
    return int(n)


def _folder(out_dir):
    out_dir = os.fspath(out_dir)
    if not out_dir:
        raise ValueError("out_dir must name a folder")
    return out_dir


def _sweep(view, out_dir, n, movie):
    out_dir = _folder(out_dir)
    movie = "" if movie is None else os.fspath(movie)
    view.run(snapshot_dir=out_dir, sweep_ticks=n, movie=movie)
    frames = sorted(os.path.join(out_dir, f) for f in os.listdir(out_dir)
                    if re.fullmatch(r"sweep-\d{5}\.png", f))[:n]
    return frames + ([movie] if movie else [])


def _epochs_view(epochs, active, control, freqs, n_cycles, zero_mean, step, mode, n_jobs,
                 spectral_class, sensors, channel, tmin, tmax, fmin, fmax):
    """The data set of epochs with its three classes computed, and the windows' options."""
    import mne
    if not isinstance(epochs, mne.BaseEpochs):
        raise TypeError(f"epochs must be mne.Epochs, not {type(epochs).__name__}")
    view = _View(epochs.info)
    data = as_float64(epochs.get_data(), "the epochs")[:, view.picks()]
    data = np.ascontiguousarray(data * view.scales(power=False)[None, :, None])
    s = _Settings()
    s.freqs_hz = np.asarray(freqs, dtype=float).ravel().tolist()
    cycles = np.asarray(n_cycles, dtype=float).ravel()
    if cycles.size == 1:
        s.cycles = float(cycles[0])
    else:
        s.cycles_per_freq = cycles.tolist()
    s.zero_mean = bool(zero_mean)
    s.normalisation = _Settings.Normalisation.WaveletL2
    s.time_step_ms = float(step) * 1000.0
    s.result_mode = _choice(mode, _EPOCH_MODES, "mode")
    s.threads = _threads(n_jobs)
    window = [float(v) * 1000.0 for v in (*active, *control)]
    view.data.set_epochs(data, float(epochs.info["sfreq"]), 1000.0 * epochs.times[0],
                         window[:2], window[2:], s)
    # The Result and Active classes span the Active window; the Control class its own.
    times = epochs.times
    if spectral_class != "control":
        inside = times[(times >= active[0]) & (times <= active[1])]
        times = inside if inside.size else times
    view.choose(spectral_class, sensors, channel, tmin, tmax, fmin, fmax, times, freqs)
    return view


_DEFAULT_FREQS = np.arange(4.0, 62.0, 2.0)


def show_epochs(epochs, active=(0.0, 0.8), control=(-0.4, 0.0), freqs=_DEFAULT_FREQS,
                n_cycles=7.0, *, zero_mean=True, step=0.01, mode="db", n_jobs=None,
                spectral_class="result", tmin=None, tmax=None, fmin=None, fmax=None,
                channel=None, sensors=None):
    """Compute the Active (``active`` window, s), Control (``control``) and Result (their
    contrast by ``mode``: "db", "mean", "ratio", "percent", "zscore") spectra of ``epochs``,
    as the viewer does for a recording, with MNE's wavelets (``n_cycles``, ``zero_mean``,
    MNE's normalisation) on a grid of ``step`` seconds, and show ``spectral_class``'s windows
    as ``show`` does."""
    view = _epochs_view(epochs, active, control, freqs, n_cycles, zero_mean, step, mode,
                        n_jobs, spectral_class, sensors, channel, tmin, tmax, fmin, fmax)
    _interactive(view)


def snapshot_epochs(epochs, out_dir, active=(0.0, 0.8), control=(-0.4, 0.0),
                    freqs=_DEFAULT_FREQS, n_cycles=7.0, *, zero_mean=True, step=0.01,
                    mode="db", n_jobs=None, spectral_class="result", tmin=None, tmax=None,
                    fmin=None, fmax=None, channel=None, sensors=None):
    """``show_epochs`` painted into PNG files in ``out_dir``; returns their paths."""
    view = _epochs_view(epochs, active, control, freqs, n_cycles, zero_mean, step, mode,
                        n_jobs, spectral_class, sensors, channel, tmin, tmax, fmin, fmax)
    return view.run(snapshot_dir=_folder(out_dir))[0]


def sensors(info):
    """What the windows show of ``info``'s channels: one dict per MEG or EEG channel with a
    position, in order, with its ``name``, ``type`` ("mag", "grad", "axial" or "eeg"),
    ``pos`` and ``normal`` (metres, head coordinates when ``info`` places the head), and
    ``unit``, the unit its power is shown in. Channels left out are named in a warning."""
    view = _View(info)
    units = view.data.power_units(0)
    types = {0: "mag", 1: "grad", 2: "axial", -1: "eeg"}
    return [{"name": c.name, "type": types[c.sensor], "pos": c.pos, "normal": c.normal,
             "unit": unit} for c, unit in zip(view.channels, units)]
