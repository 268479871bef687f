"""The Monte Carlo example on a Dask cluster of two worker processes, and
the Python chapter of the user guide, run as written."""

import importlib.util
import os
import pathlib
import re
import sys



import numpy as np
import pytest

import halovane

SOURCE = pathlib.Path(__file__).resolve().parents[2]
distributed = pytest.importorskip("distributed")
cloudpickle = pytest.importorskip("cloudpickle")
# Dask's event loop on Debian 12's tornado warns of an API it still uses.
pytestmark = pytest.mark.filterwarnings("ignore::DeprecationWarning")


@pytest.fixture(scope="module")
def client():
    # The workers are processes of their own: they find the package where
    # this interpreter found it.
    os.environ["PYTHONPATH"] = os.pathsep.join([str(pathlib.Path(halovane.__file__).parents[1]),
                                                os.environ.get("PYTHONPATH", "")])
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=":0") as cluster, distributed.Client(cluster) as c:
        yield c


def load_example():
    spec = importlib.util.spec_from_file_location("monte_carlo", SOURCE / "examples" / "monte_carlo.py")
    module = importlib.util.module_from_spec(spec)
    sys.modules["monte_carlo"] = module
    spec.loader.exec_module(module)
    # The workers cannot import it: its functions travel by value, as those
    # of a script's main module do.
    cloudpickle.register_pickle_by_value(module)
    return module


def test_monte_carlo_on_a_cluster_equals_sequential_runs(client):
    example = load_example()
    base = halovane.read_input(SOURCE / "examples" / "two-layer-drained.inp")
    samples = example.sample(60)
    distributed_runs = example.run_distributed(client, base, samples, batches=7)
    sequential = example.run_sequential(base, samples)
    assert distributed_runs.shape == (60, len(example.METRICS))
    assert distributed_runs.tobytes() == sequential.tobytes()
    assert len(np.unique(distributed_runs[:, 0])) > 1  # the samples do change the results


def guide_blocks():
    guide = (SOURCE / "docs" / "user-guide.md").read_text()
    chapter = guide.split("\n## Python\n", 1)[1].split("\n## ", 1)[0]
    return re.findall(r"```python\n(.*?)```", chapter, re.S)


def test_the_guides_python_chapter_runs_as_written(tmp_path, monkeypatch, client):
    blocks = guide_blocks()
    assert len(blocks) >= 4
    (tmp_path / "examples").symlink_to(SOURCE / "examples")
    monkeypatch.chdir(tmp_path)
    namespace = {"__name__": "__main__"}
    for block in blocks:
        exec(compile(block, "user-guide.md", "exec"), namespace)
