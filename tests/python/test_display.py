"""Windows, pictures and sweeps from MNE's TFRs and epochs; positions and units from info."""

import warnings

import numpy as np
import pytest

import velmora
from conftest import LIFT, mne


def _colourful(path):
    import matplotlib.image
    rgb = matplotlib.image.imread(path)[..., :3]
    spread = rgb.max(axis=-1) - rgb.min(axis=-1)
    return (spread > 0.25).mean()


def test_positions_types_and_units_come_from_info(meg_epochs, eeg_epochs):
    meg = velmora.sensors(meg_epochs.info)
    assert len(meg) == 306
    by_name = {s["name"]: s for s in meg}
    ch = meg_epochs.info["chs"][meg_epochs.ch_names.index("MEG0111")]
    # The device-to-head transform lifts the sensors back into head coordinates.
    np.testing.assert_allclose(by_name["MEG0111"]["pos"], ch["loc"][:3] + [0, 0, LIFT])
    assert by_name["MEG0111"]["type"] == "mag" and by_name["MEG0111"]["unit"] == "fT²"
    assert by_name["MEG0112"]["type"] == "grad" and by_name["MEG0112"]["unit"] == "(fT/cm)²"
    eeg = velmora.sensors(eeg_epochs.info)
    assert {s["type"] for s in eeg} == {"eeg"} and eeg[0]["unit"] == "µV²"
    oz = eeg_epochs.info["chs"][eeg_epochs.ch_names.index("Oz")]["loc"][:3]
    np.testing.assert_allclose({s["name"]: s for s in eeg}["Oz"]["pos"], oz)


def test_channels_without_a_position_are_left_out_and_named(eeg_epochs):
    info = eeg_epochs.info.copy()
    info["chs"][3]["loc"][:] = 0.0
    info = mne.create_info(info["ch_names"] + ["STI"], 250.0, ["eeg"] * 64 + ["stim"])
    info.set_montage(mne.channels.make_standard_montage("biosemi64"), on_missing="ignore")
    info["chs"][3]["loc"][:] = 0.0
    with pytest.warns(UserWarning) as caught:
        shown = velmora.sensors(info)
    text = " ".join(str(w.message) for w in caught)
    assert info["ch_names"][3] in text and "STI" in text and len(shown) == 63
    bare = mne.create_info(["a", "b"], 250.0, "eeg")
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        with pytest.raises(ValueError, match="no MEG or EEG channel has a position"):
            velmora.sensors(bare)


def test_snapshots_of_a_tfr_and_its_baseline_contrast(meg_epochs, freqs, tmp_path):
    power = velmora.tfr_morlet(meg_epochs, freqs, freqs / 2, return_itc=False)
    kept = power.data.copy()
    paths = velmora.snapshot(power, tmp_path / "a")
    assert [p.rsplit("/", 1)[1] for p in paths] == [
        "single-channel-active.png", "parameters.png", "contour-active.png"]
    assert _colourful(paths[2]) > 0.05
    result = velmora.snapshot(power, tmp_path / "r", baseline=(-0.3, 0.0), mode="logratio",
                              tmin=0.0, tmax=0.5, fmin=8, fmax=12, sensors="grad",
                              channel="MEG2112")
    assert result[2].endswith("contour-result.png") and _colourful(result[2]) > 0.02
    np.testing.assert_array_equal(power.data, kept)


def test_sweeps_write_every_frame_and_the_movie(eeg_epochs, freqs, tmp_path):
    power = velmora.tfr_morlet(eeg_epochs, freqs, 5.0, return_itc=False)
    out = velmora.sweep(power, tmp_path, 4, movie=tmp_path / "sweep.mp4")
    assert [p.rsplit("/", 1)[1] for p in out] == [
        "sweep-00000.png", "sweep-00001.png", "sweep-00002.png", "sweep-00003.png",
        "sweep.mp4"]
    assert (tmp_path / "sweep.mp4").stat().st_size > 0


def test_epochs_give_the_three_classes(eeg_epochs, tmp_path):
    paths = velmora.snapshot_epochs(eeg_epochs, tmp_path, active=(0.0, 0.6),
                                    control=(-0.35, 0.0), freqs=np.arange(6.0, 21.0, 2.0),
                                    n_cycles=5.0)
    assert paths[2].endswith("contour-eeg-result.png") and _colourful(paths[2]) > 0.003
    control = velmora.snapshot_epochs(eeg_epochs, tmp_path / "c", active=(0.0, 0.6),
                                      control=(-0.35, 0.0), freqs=np.arange(6.0, 21.0, 2.0),
                                      n_cycles=5.0, spectral_class="control", channel="Oz")
    assert control[0].endswith("single-channel-control.png")


def test_bad_display_requests_are_refused(meg_epochs, eeg_epochs, freqs, tmp_path):
    power = velmora.tfr_morlet(meg_epochs, freqs, 5.0, return_itc=False)
    cases = [
        (TypeError, "AverageTFR", lambda: velmora.snapshot(meg_epochs, tmp_path)),
        (ValueError, "not among the channels", lambda: velmora.snapshot(
            power, tmp_path, channel="EEG 999")),
        (ValueError, "holds no point", lambda: velmora.snapshot(power, tmp_path, tmin=5.0)),
        (ValueError, "holds no point", lambda: velmora.snapshot(power, tmp_path, fmin=50.0)),
        (ValueError, "no such MEG sensors", lambda: velmora.snapshot(
            power, tmp_path, sensors="axial")),
        (ValueError, "no EEG channel", lambda: velmora.snapshot(power, tmp_path,
                                                                 sensors="eeg")),
        (ValueError, "mode must be", lambda: velmora.snapshot(
            power, tmp_path, baseline=(None, 0), mode="db")),
        (ValueError, "steps", lambda: velmora.sweep(power, tmp_path, 0)),
        (TypeError, "mne.Epochs", lambda: velmora.snapshot_epochs(power, tmp_path)),
        (ValueError, "spectral_class", lambda: velmora.snapshot_epochs(
            eeg_epochs, tmp_path, spectral_class="both")),
    ]
    for error, match, call in cases:
        with pytest.raises(error, match=match):
            call()
    assert not list(tmp_path.iterdir())


def test_show_without_a_display_paints_into_snapshots(eeg_epochs, freqs, tmp_path,
                                                      monkeypatch):
    power = velmora.tfr_morlet(eeg_epochs, freqs, 5.0, return_itc=False)
    monkeypatch.chdir(tmp_path)
    with pytest.warns(UserWarning, match="No display"):
        velmora.show(power)
    assert (tmp_path / "snapshots" / "contour-eeg-active.png").stat().st_size > 1000


def test_the_core_refuses_power_that_does_not_fit_its_channels():
    from velmora import _velmora
    data = _velmora.DataSet()
    data.add_eeg("Cz", [0.0, 0.0, 0.09], "µV")
    data.add_eeg("Oz", [0.0, -0.09, 0.0], "µV")
    power = np.ones((3, 2, 5))
    freqs = [8.0, 10.0]
    for rows, scales, f in (([0], [1.0], freqs), ([0, 1], [1.0], freqs),
                            ([0, 3], [1.0, 1.0], freqs), ([0, -1], [1.0, 1.0], freqs),
                            ([0, 1], [1.0, 1.0], [8.0])):
        with pytest.raises(ValueError):
            data.set_spectra(0, 0.0, 4.0, f, power, rows, scales)
    data.set_spectra(0, 0.0, 4.0, freqs, power, [2, 0], [1.0, 1.0])
    data.finish()
    assert data.channels() == ["Cz", "Oz"] and data.power_units(0) == ["µV²", "µV²"]
