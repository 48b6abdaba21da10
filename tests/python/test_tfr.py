"""velmora.tfr_morlet against MNE-Python's own, and its refusals."""

import numpy as np
import pytest

import velmora
from conftest import mne

tfr_morlet = mne.time_frequency.tfr_morlet


def _same(a, b, rtol=1e-9):
    np.testing.assert_allclose(a, b, rtol=rtol, atol=0)


def test_power_and_itc_equal_mnes_with_mnes_objects(eeg_epochs, freqs):
    cases = [dict(n_cycles=freqs / 2), dict(n_cycles=3.0, zero_mean=False, decim=3),
             dict(n_cycles=4.0, decim=slice(5, 450, 7), picks=["Oz", "O1", "Cz"])]
    for kw in cases:
        mp, mi = tfr_morlet(eeg_epochs, freqs, **kw)
        vp, vi = velmora.tfr_morlet(eeg_epochs, freqs, **kw)
        assert type(vp) is mne.time_frequency.AverageTFR and vp.method == "morlet-power"
        assert vi.method == "morlet-itc" and vp.nave == mp.nave == len(eeg_epochs)
        assert vp.ch_names == mp.ch_names and vp.info["sfreq"] == mp.info["sfreq"]
        _same(vp.times, mp.times)
        _same(vp.freqs, mp.freqs)
        _same(vp.data, mp.data)
        np.testing.assert_allclose(vi.data, mi.data, atol=1e-9)


def test_single_trials_evoked_arrays_and_threads(eeg_epochs, meg_epochs, freqs):
    kw = dict(n_cycles=5.0, average=False, return_itc=False)
    m = tfr_morlet(eeg_epochs, freqs, output="complex", **kw)
    v = velmora.tfr_morlet(eeg_epochs, freqs, output="complex", **kw)
    assert type(v) is mne.time_frequency.EpochsTFR and v.data.dtype == np.complex128
    np.testing.assert_array_equal(v.events, eeg_epochs.events)
    np.testing.assert_allclose(v.data, m.data, atol=1e-12 * np.abs(m.data).max())
    _same(velmora.tfr_morlet(meg_epochs, freqs, **kw).data, tfr_morlet(meg_epochs, freqs, **kw).data)
    evoked = eeg_epochs.average()
    _same(velmora.tfr_morlet(evoked, freqs, 5.0, return_itc=False).data,
          tfr_morlet(evoked, freqs, 5.0, return_itc=False).data)
    # Arrays in, arrays out; a strided view is read where it lies; threads change nothing.
    data = np.asfortranarray(eeg_epochs.get_data())[:, ::2]
    power, itc = velmora.tfr_morlet(data, freqs, 5.0, sfreq=250.0)
    mp = mne.time_frequency.tfr_array_morlet(data, 250.0, freqs, 5.0, zero_mean=True,
                                             output="avg_power")
    _same(power, mp)
    threaded, _ = velmora.tfr_morlet(data, freqs, 5.0, sfreq=250.0, n_jobs=3)
    np.testing.assert_array_equal(threaded, power)


def test_the_tfr_works_with_mnes_own_methods(eeg_epochs, freqs, tmp_path):
    power, itc = velmora.tfr_morlet(eeg_epochs, freqs, freqs / 2)
    contrast = power.copy().apply_baseline((-0.3, 0.0), mode="logratio")
    assert contrast.data[eeg_epochs.ch_names.index("Oz"), 3, -100] > 0.3
    cropped = power.copy().crop(0.0, 0.5, fmin=8.0, fmax=12.0)
    assert cropped.data.shape[1] == 3 and cropped.times[0] >= 0.0
    assert np.allclose((power + power).data, 2 * power.data)
    import matplotlib
    matplotlib.use("Agg")
    fig = power.plot_topomap(tmin=0.2, tmax=0.6, fmin=8, fmax=12, show=False)
    fig.savefig(tmp_path / "topomap.png")
    assert (tmp_path / "topomap.png").stat().st_size > 1000


def _refused(error, match, call):
    with pytest.raises(error, match=match):
        call()


def test_bad_input_is_an_exception_and_the_data_stay_as_they_were(eeg_epochs, freqs):
    data = eeg_epochs.get_data()
    kept = data.copy()
    arr = lambda d, **kw: velmora.tfr_morlet(d, freqs, 5.0, sfreq=250.0, **kw)  # noqa: E731
    _refused(ValueError, "three dimensions", lambda: arr(data[0]))
    _refused(TypeError, "complex", lambda: arr(data.astype(complex)))
    _refused(TypeError, "2\\*\\*53", lambda: arr(np.full((1, 1, 500), 2 ** 60, np.int64)))
    _refused(TypeError, "numbers", lambda: arr(np.full((1, 1, 500), "a")))
    for bad in (np.nan, np.inf):
        spoilt = data.copy()
        spoilt[2, 5, 7] = bad
        _refused(ValueError, "sample 7 of channel 5 in epoch 2 is not finite",
                 lambda: arr(spoilt))
    _refused(ValueError, "Nyquist", lambda: velmora.tfr_morlet(data, [10.0, 125.0], 5.0,
                                                                sfreq=250.0))
    _refused(ValueError, "longer than the epochs", lambda: velmora.tfr_morlet(
        data, [4.0], 50.0, sfreq=250.0))
    _refused(ValueError, "n_cycles", lambda: velmora.tfr_morlet(data, freqs, [3.0, 4.0],
                                                                 sfreq=250.0))
    _refused(TypeError, "sfreq", lambda: velmora.tfr_morlet(data, freqs, 5.0))
    _refused(TypeError, "inst must be", lambda: velmora.tfr_morlet({"x": 1}, freqs, 5.0))
    _refused(ValueError, "average=True", lambda: velmora.tfr_morlet(
        eeg_epochs, freqs, 5.0, output="complex", return_itc=False))
    _refused(ValueError, "average=False", lambda: velmora.tfr_morlet(
        eeg_epochs, freqs, 5.0, average=False))
    _refused(ValueError, "n_jobs", lambda: arr(data, n_jobs=0))
    _refused(ValueError, "decimation", lambda: arr(data, decim=slice(600, None)))
    np.testing.assert_array_equal(data, kept)
    # Lossless conversions are taken: float32 gives the float64 numbers of the same values.
    small = data.astype(np.float32)
    _same(arr(small)[0], arr(small.astype(np.float64))[0])
