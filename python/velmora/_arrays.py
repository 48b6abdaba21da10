"""Arrays handed to the C++ core: float64, converted only where no value can change."""

import numpy as np

# Integers beyond this lose digits as float64.
_EXACT_INT = 2 ** 53


def epoch_array(data):
    """``data`` as a float64 array of epochs x channels x times.

    A float64 array is passed on as it lies (never copied or changed); smaller floats,
    integers and booleans are converted when every value survives; complex numbers and other
    kinds are refused with TypeError, a wrong number of dimensions with ValueError.
    """
    array = np.asarray(data)
    if array.ndim != 3:
        raise ValueError("the data must have three dimensions (epochs x channels x times), "
                         f"not {array.ndim}")
    return as_float64(array, "the data")


def as_float64(array, what):
    kind = array.dtype.kind
    if array.dtype == np.float64:
        return array if array.dtype.isnative else array.astype(np.float64)
    if kind == "f" and array.dtype.itemsize < 8 or kind == "b":
        return array.astype(np.float64)
    if kind in "iu":
        if array.dtype.itemsize < 8 or array.size == 0 or (
                np.abs(array.min()) <= _EXACT_INT and np.abs(array.max()) <= _EXACT_INT):
            return array.astype(np.float64)
        raise TypeError(f"{what} hold integers beyond 2**53 that float64 cannot hold exactly")
    if kind == "c":
        raise TypeError(f"{what} must be real; complex values ({array.dtype}) are refused")
    raise TypeError(f"{what} must be numbers, not {array.dtype}")
