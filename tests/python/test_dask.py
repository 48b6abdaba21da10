"""The example's many subjects on two Dask worker processes equal a serial run."""

import os
import sys

import numpy as np
import pytest

from conftest import SOURCE

distributed = pytest.importorskip("distributed")
EXAMPLES = os.path.join(SOURCE, "examples")
sys.path.insert(0, EXAMPLES)
import many_subjects  # noqa: E402


def test_three_subjects_on_two_workers_equal_a_serial_run(tmp_path, monkeypatch):
    # Worker processes find the package and the example where this process does.
    paths = [os.environ.get("VELMORA_PYTHON_PATH", ""), EXAMPLES, os.environ.get("PYTHONPATH", "")]
    monkeypatch.setenv("PYTHONPATH", os.pathsep.join(p for p in paths if p))
    cluster = distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                       dashboard_address=None)
    with cluster, distributed.Client(cluster) as client:
        spread = many_subjects.run([0, 1, 2], str(tmp_path / "dask"), client)
        workers = {w for w in client.run(os.getpid).values()}
    assert len(workers) == 2 and os.getpid() not in workers
    for subject, power, pictures in spread:
        _, serial, mine = many_subjects.analyse(subject, str(tmp_path / "serial"))
        np.testing.assert_array_equal(power, serial)
        assert [os.path.basename(p) for p in pictures] == [os.path.basename(p) for p in mine]
        assert all(os.path.getsize(p) > 1000 for p in pictures)
