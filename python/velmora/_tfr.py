"""Morlet spectra with MNE-Python's signature and numbers, computed by Velmora's C++ core."""

import copy
import numbers

import numpy as np

from . import _velmora
from ._arrays import epoch_array

_MNE_ONLY = "this argument applies to MNE objects; select from the array instead"


def _decim_slice(decim):
    if isinstance(decim, slice):
        step = 1 if decim.step is None else decim.step
        return slice(decim.start, decim.stop, step)
    if isinstance(decim, numbers.Integral) and not isinstance(decim, bool):
        return slice(None, None, int(decim))
    raise TypeError(f"decim must be an integer or a slice, not {type(decim).__name__}")


def _threads(n_jobs):
    if n_jobs is None:
        return 1
    if isinstance(n_jobs, numbers.Integral) and not isinstance(n_jobs, bool):
        if n_jobs == -1:
            return 0
        if n_jobs >= 1:
            return int(n_jobs)
    raise ValueError(f"n_jobs must be None, -1 or a positive integer, not {n_jobs!r}")


def _frequencies(freqs, n_cycles):
    freqs = np.asarray(freqs, dtype=float)
    if freqs.ndim != 1:
        raise ValueError(f"freqs must be of shape (n_freqs,), not {freqs.shape}")
    cycles = np.asarray(n_cycles, dtype=float).ravel()
    if np.ndim(n_cycles) > 1 or cycles.size not in (1, freqs.size):
        raise ValueError(
            f"n_cycles must be a number or an array of {freqs.size} numbers, "
            f"not {np.shape(n_cycles)}")
    return freqs, cycles


def _check_flags(use_fft, zero_mean, average, return_itc, output):
    for name, value in (("use_fft", use_fft), ("zero_mean", zero_mean),
                        ("average", average), ("return_itc", return_itc)):
        if not isinstance(value, (bool, np.bool_)):
            raise TypeError(f"{name} must be True or False, not {value!r}")
    if output not in ("power", "complex"):
        raise ValueError(f"output must be 'power' or 'complex', not {output!r}")
    if average and output == "complex":
        raise ValueError('output must be "power" if average=True')
    if not average and return_itc:
        raise ValueError("Inter-trial coherence is not supported with average=False")


def _mode(average, return_itc, output):
    if average:
        return "avg_power_itc" if return_itc else "avg_power"
    return output


def compute(data, sfreq, freqs, n_cycles, decim=1, n_jobs=None, zero_mean=True,
            output="avg_power_itc"):
    """The transform of a float64 array epochs x channels x times, MNE's layouts out."""
    freqs, cycles = _frequencies(freqs, n_cycles)
    kept = _decim_slice(decim)
    start, stop, step = kept.indices(data.shape[-1])
    if step < 1:
        raise ValueError(f"decim must step forward, not by {step}")
    return _velmora.morlet(data, float(sfreq), freqs.tolist(), cycles.tolist(),
                           bool(zero_mean), output, start, stop, step, _threads(n_jobs))


def _mne_data(inst, return_itc):
    import mne
    if isinstance(inst, mne.BaseEpochs):
        return inst.get_data()
    if isinstance(inst, mne.Evoked):
        if return_itc:
            raise ValueError("return_itc must be False for evoked data")
        return inst.data[np.newaxis]
    raise TypeError("inst must be mne.Epochs, mne.Evoked or a NumPy array of epochs x "
                    f"channels x times, not {type(inst).__name__}")


def _picked(inst, data, picks):
    import mne
    from mne.io.pick import _picks_to_idx
    idx = _picks_to_idx(inst.info, picks, exclude="bads")
    info = mne.pick_info(inst.info, idx)
    if np.array_equal(idx, np.arange(data.shape[1])):
        return info, data
    return info, data[:, idx]


def _mne_result(inst, info, out, freqs, kept, average, return_itc, n_epochs):
    import mne
    times = inst.times[kept].copy()
    with info._unlock():
        info["sfreq"] /= kept.step
    freqs = np.asarray(freqs, dtype=float)
    if average:
        power, itc = out if return_itc else (out, None)
        result = mne.time_frequency.AverageTFR(info, power, times, freqs, n_epochs,
                                               method="morlet-power")
        if not return_itc:
            return result
        return result, mne.time_frequency.AverageTFR(info, itc, times, freqs, n_epochs,
                                                     method="morlet-itc")
    # An Evoked has no events; an Epochs' bookkeeping goes with its spectra, as MNE copies it.
    keep = {"events": "events", "event_id": "event_id", "selection": "selection",
            "drop_log": "drop_log", "metadata": "_metadata"}
    extra = {}
    if isinstance(inst, mne.BaseEpochs):
        extra = {key: copy.deepcopy(getattr(inst, name)) for key, name in keep.items()}
    return mne.time_frequency.EpochsTFR(info, out, times, freqs, method="morlet-power",
                                        **extra)


def tfr_morlet(inst, freqs, n_cycles, use_fft=False, return_itc=True, decim=1, n_jobs=None,
               picks=None, zero_mean=True, average=True, output="power", verbose=None, *,
               sfreq=None):
    """Time-frequency power (and inter-trial coherence) with Morlet wavelets.

    The signature, defaults and results of ``mne.time_frequency.tfr_morlet`` (MNE-Python
    1.3): ``inst`` an ``mne.Epochs`` (or ``mne.Evoked`` with ``return_itc=False``) gives
    MNE's own ``AverageTFR`` (``EpochsTFR`` with ``average=False``), with ``info``, times and
    frequencies as MNE sets them. ``inst`` a NumPy array of epochs x channels x times, with
    ``sfreq`` in Hz, gives arrays instead: ``(power, itc)`` or ``power``, shaped as MNE's
    ``data``. The FFT and the direct convolution give the same numbers, so ``use_fft`` only
    chooses between two names for one computation. ``n_jobs`` threads compute channels in
    parallel, with the interpreter released. ``verbose`` is accepted for compatibility; the
    computation logs nothing.
    """
    del verbose
    _check_flags(use_fft, zero_mean, average, return_itc, output)
    kept = _decim_slice(decim)
    mode = _mode(average, return_itc, output)
    if isinstance(inst, (np.ndarray, list, tuple)):
        if sfreq is None:
            raise TypeError("sfreq (Hz) is needed with an array of epochs")
        if picks is not None:
            raise ValueError(f"picks: {_MNE_ONLY}")
        data = epoch_array(inst)
        return compute(data, sfreq, freqs, n_cycles, kept, n_jobs, zero_mean, mode)
    if sfreq is not None:
        raise ValueError("sfreq applies to arrays; MNE objects carry their own")
    data = epoch_array(_mne_data(inst, return_itc))
    info, data = _picked(inst, data, picks)
    out = compute(data, info["sfreq"], freqs, n_cycles, kept, n_jobs, zero_mean, mode)
    return _mne_result(inst, info, out, freqs, kept, average, return_itc, len(data))
