"""Velmora from Python: Morlet spectra with MNE-Python's numbers, and Velmora's 3D windows
(single-channel spectrogram, spectral contour map, display parameters) for MNE's objects.

    import mne, velmora
    power, itc = velmora.tfr_morlet(epochs, freqs, n_cycles=freqs / 2)
    velmora.show(power)                      # the windows on the desktop
    velmora.snapshot(power, "pictures")      # or their PNG files
"""

from ._display import sensors, show, show_epochs, snapshot, snapshot_epochs, sweep
from ._tfr import tfr_morlet

__all__ = ["tfr_morlet", "show", "snapshot", "sweep", "show_epochs", "snapshot_epochs",
           "sensors"]
