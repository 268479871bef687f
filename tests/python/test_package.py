"""The package halovane: the runner's results bit for bit, the data set and
its fields, refusals as exceptions, no crash from any input, the lock
released during a run."""

import csv
import math
import os
import pathlib
import pickle
import random
import shutil
import subprocess
import sys
import threading

import numpy as np
import pytest

import halovane

SOURCE = pathlib.Path(__file__).resolve().parents[2]
EXAMPLES = sorted((SOURCE / "examples").glob("*.inp"))
CLI = os.environ.get("HALOVANE_CLI")


def read_csv_columns(path):
    """The columns of a CSV file by name, read with Python's own parsers."""
    with open(path, newline="") as f:
        rows = list(csv.reader(f))
    columns = {}
    for c, name in enumerate(rows[0]):
        cells = [row[c] for row in rows[1:]]
        try:
            columns[name] = np.array([float(x) if x else math.nan for x in cells])
        except ValueError:
            columns[name] = np.array(cells, dtype=object)
    return columns


def assert_same_columns(got, expected):
    assert list(got) == list(expected)
    for name, column in expected.items():
        if column.dtype == object:
            assert list(got[name]) == list(column), name
        else:
            # Bit for bit, NaN where the file has an empty cell.
            assert got[name].dtype == np.float64 and got[name].tobytes() == column.tobytes(), name


# Every example with the runner's options: plain, with both questions
# answered yes and the fit report, and the conserving variant.
RUNNER_CASES = [(example, options) for example in EXAMPLES
                for options in ([], ["--refine", "--optimise", "--report"], ["--variant", "conserving"])]


@pytest.mark.skipif(not CLI, reason="the runner's path is given by ctest as HALOVANE_CLI")
@pytest.mark.parametrize("example,options", RUNNER_CASES, ids=lambda v: v.stem if hasattr(v, "stem") else " ".join(v))
def test_results_are_the_runners(tmp_path, example, options):
    inp = tmp_path / example.name
    shutil.copy(example, inp)
    status = subprocess.run([CLI, "run", "--csv", "--balance", *options, str(inp)], capture_output=True).returncode
    assert status in (0, 3)
    data = halovane.read_input(inp)
    if "conserving" in options:
        data.model_variant = "conserving"
    results = halovane.run(data, refine="--refine" in options, optimise="--optimise" in options, balance=True)
    assert results.status == ("stopped" if status == 3 else "completed")
    stem = tmp_path / example.stem
    assert results.csv_text().encode() == stem.with_suffix(".csv").read_bytes()
    assert_same_columns(results.columns(), read_csv_columns(stem.with_suffix(".csv")))
    assert_same_columns(results.balance_columns(), read_csv_columns(stem.with_suffix(".balance.csv")))
    fit = tmp_path / (example.stem + ".fit.csv")
    assert (results.fit_columns() is not None) == fit.exists()
    if fit.exists():
        got = results.fit_columns()
        del got["output_file"]  # the name of an output file, which a run in memory has not
        expected = read_csv_columns(fit)
        del expected["output_file"]
        assert_same_columns(got, expected)
        assert_same_columns(results.profile_columns(), read_csv_columns(stem.with_suffix(".profile.csv")))
    tables = results.to_pandas()
    assert tables.results.index[-1] == data.time_steps
    assert tables.balance is not None


@pytest.mark.parametrize("example", EXAMPLES, ids=lambda p: p.stem)
def test_data_set_round_trips(tmp_path, example):
    data = halovane.read_input(example)
    assert pickle.loads(pickle.dumps(data)) == data
    assert halovane.Data() != data
    copy = halovane.Data()
    copy.update(data.to_dict())
    assert copy == data
    # The file holds what it was read from: written and read back, the same.
    halovane.write_input(data, tmp_path / "again.inp")
    assert halovane.read_input(tmp_path / "again.inp") == data
    # Every field of the table is an attribute of that name.
    for field in halovane.fields():
        assert data[field["name"]] is not None
        assert hasattr(data, field["name"])


def test_series_follow_the_number_of_time_steps():
    data = halovane.read_input(SOURCE / "examples" / "one-layer-monthly.inp")
    rain = data.rainfall
    with pytest.raises(ValueError):
        rain[0] = 1  # a copy, read-only: assign the whole series
    data.time_steps = 5
    assert list(data.rainfall[:3]) == list(rain) and list(data.rainfall[3:]) == [0, 0]
    assert np.isnan(data.measured_salinity_layer1[3:]).all()
    data.rainfall = np.arange(5.0)
    data.irrigation = 7
    data.measured_salinity_transition = [1, math.nan, 2, math.nan, 3]
    assert list(data.rainfall) == [0, 1, 2, 3, 4] and list(data.irrigation) == [7] * 5
    again = halovane.parse_input(halovane_text(data))
    assert list(again.measured_salinity_transition[::2]) == [1, 2, 3]
    assert np.isnan(again.measured_salinity_transition[1::2]).all()


def halovane_text(data):
    import tempfile

    with tempfile.TemporaryDirectory() as folder:
        path = pathlib.Path(folder) / "data.inp"
        halovane.write_input(data, path)
        return path.read_bytes()


# What a value that a field cannot take raises.
BAD_VALUES = [
    ("time_steps", 10 ** 9, ValueError),
    ("time_steps", -1, ValueError),
    ("time_steps", 2.5, ValueError),
    ("layers", math.nan, ValueError),
    ("step_length", 1e300, ValueError),
    ("rainfall", [1.0, 2.0], ValueError),
    ("rainfall", np.zeros((3, 3)), ValueError),
    ("rainfall", ["a", "b", "c"], TypeError),
    ("rainfall", object(), TypeError),
    ("qh1", "much", TypeError),
    ("title1", 5, TypeError),
    ("model_variant", "other", ValueError),
    ("no_such_field", 1, KeyError),
]


@pytest.mark.parametrize("name,value,error", BAD_VALUES, ids=lambda v: str(v)[:20])
def test_bad_values_are_refused(name, value, error):
    data = halovane.read_input(SOURCE / "examples" / "one-layer-monthly.inp")
    before = data.copy()
    with pytest.raises(error):
        data[name] = value
    assert data == before


# Values a field takes but a run refuses: the check names the field, the run
# raises DataError with the same problems.
REFUSED = [
    ("total_porosity_layer1", 150, "total porosity"),
    ("layers", 4, "number of root-zone layers"),
    ("irrigation_efficiency", math.inf, "irrigation efficiency"),
    ("rainfall", -5, "rainfall"),
    ("time_steps", 0, "number of time steps"),
]


@pytest.mark.parametrize("name,value,label", REFUSED, ids=lambda v: str(v))
def test_data_that_cannot_be_run(name, value, label):
    data = halovane.read_input(SOURCE / "examples" / "one-layer-monthly.inp")
    data[name] = value
    errors = [p for p in halovane.check(data) if p.severity == "error"]
    assert errors and any(label in p.field for p in errors)
    with pytest.raises(halovane.DataError) as refusal:
        halovane.run(data)
    assert [str(p) for p in refusal.value.problems] == [str(p) for p in errors]
    # As a worker process of a cluster sends it back.
    again = pickle.loads(pickle.dumps(refusal.value))
    assert str(again) == str(refusal.value) and list(map(str, again.problems)) == list(map(str, errors))


def test_files_that_cannot_be_read_or_written(tmp_path):
    with pytest.raises(halovane.ReadError):
        halovane.read_input(tmp_path / "missing.inp")
    with pytest.raises(halovane.ReadError) as failure:
        halovane.parse_input(b" PROGRAM Halovane INPUT DATA\r\n nonsense\r\n")
    assert failure.value.message
    data = halovane.read_input(SOURCE / "examples" / "one-layer-monthly.inp")
    data.title1 = "two\nlines"
    with pytest.raises(halovane.WriteError):
        halovane.write_input(data, tmp_path / "titles.inp")
    with pytest.raises(halovane.WriteError):
        halovane.write_input(halovane.read_input(SOURCE / "examples" / "one-layer-monthly.inp"),
                             tmp_path / "no-folder" / "a.inp")


def mutations(text, rng, count):
    """Texts near an input data file: a digit, a line or a number changed."""
    lines = text.split(b"\n")
    for _ in range(count):
        changed = list(lines)
        k = rng.randrange(len(changed))
        choice = rng.randrange(5)
        if choice == 0:
            del changed[k]
        elif choice == 1:
            changed.insert(k, changed[rng.randrange(len(changed))])
        elif choice == 2:
            changed[k] = changed[k][:rng.randrange(len(changed[k]) + 1)]
        else:
            line = bytearray(changed[k])
            if line:
                line[rng.randrange(len(line))] = rng.choice(b"0123456789-.eE+ x" if choice == 3 else b"9")
            changed[k] = bytes(line)
        yield b"\n".join(changed)


EXTREMES = [math.nan, math.inf, -math.inf, 1e308, -1e308, 1e-300, 0, -1, 1e6, 2 ** 31]
NUMBERS = [f["name"] for f in halovane.fields() if f["kind"] != "text"]


def data_sets(seed, rng):
    """The data sets read from a seed and its mutations, each also with a few
    fields set to extreme values."""
    for variant in [seed.read_bytes(), *mutations(seed.read_bytes(), rng, 40)]:
        try:
            data = halovane.parse_input(variant, seed.name)
        except halovane.ReadError:
            yield None
            continue
        yield data
        for _ in range(3):
            data = data.copy()
            for name in rng.sample(NUMBERS, 3):
                try:
                    data[name] = rng.choice(EXTREMES)
                except ValueError:
                    pass  # a count out of its range
            yield data


def test_fuzz_corpora_neither_crash_nor_hang(tmp_path):
    rng = random.Random(27)
    seeds = [p for corpus in ("corpus", "output-corpus", "roundtrip-corpus")
             for p in sorted((SOURCE / "fuzz" / corpus).iterdir())]
    outcomes = {"unreadable": 0, "refused": 0, "run": 0}
    for seed in seeds:
        for data in data_sets(seed, rng):
            if data is None:
                outcomes["unreadable"] += 1
                continue
            halovane.check(data)
            data.to_dict()
            try:
                if rng.random() < 0.1:  # a file written is made safe on disk, which takes its time
                    halovane.write_input(data, tmp_path / "written.inp")
                    halovane.read_input(tmp_path / "written.inp")
            except (halovane.WriteError, halovane.ReadError):
                pass
            try:
                results = halovane.run(data, refine=True, optimise=True, balance=True, threads=1)
            except halovane.DataError:
                outcomes["refused"] += 1
                continue
            for table in (results.columns, results.balance_columns, results.fit_columns, results.profile_columns):
                table()
            outcomes["run"] += 1
    assert all(outcomes.values()), outcomes


def twenty_years_daily():
    scenario = halovane.read_scenario(SOURCE / "examples" / "drain-design.scenario")
    return scenario.base


def test_runs_release_the_interpreter():
    data = twenty_years_daily()
    assert data.time_steps == 7300 and data.step_length == 1
    outcome = {}
    worker = threading.Thread(target=lambda: outcome.update(r=halovane.run(data, refine=True)))
    ticks = 0
    worker.start()
    while worker.is_alive():
        ticks += 1
    worker.join()
    assert outcome["r"].status == "completed"
    # The lock held through the run would leave this thread a handful of turns.
    assert ticks > 10000


INTERRUPTED_RUN = """
import os, signal, sys, threading
import numpy as np
import halovane
data = halovane.read_scenario(sys.argv[1]).base
n = 400000
for name in ("rainfall", "irrigation", "evapotranspiration"):
    series = data[name]
    data.time_steps = n
    data[name] = np.resize(series[:365], n)
measured = np.full(n, np.nan)
measured[::1000] = 3.0
data.measured_salinity_layer1 = measured
threading.Timer(0.3, lambda: os.kill(os.getpid(), signal.SIGINT)).start()
try:
    halovane.run(data, refine=True, optimise=True, threads=1)
    print("completed")
except KeyboardInterrupt:
    data.time_steps = 30
    print("interrupted", halovane.run(data).status)
"""


def test_ctrl_c_stops_a_long_run():
    # A thousand years of days, refined and optimised: Ctrl+C ends it early.
    out = subprocess.run([sys.executable, "-c", INTERRUPTED_RUN, str(SOURCE / "examples" / "drain-design.scenario")],
                         capture_output=True, text=True, timeout=120)
    assert out.stdout.split() == ["interrupted", "completed"], out.stderr


def test_scenario_runs_are_the_runners(tmp_path):
    (tmp_path / "base.inp").write_bytes((SOURCE / "examples" / "two-layer-drained.inp").read_bytes())
    (tmp_path / "s.scenario").write_text("base base.inp\nvary irrigation_efficiency 50 70\nvary qh1 0.005 0.01 0.02\n"
                                         "criterion max root_zone_salinity <= 5\n"
                                         "seek irrigation_efficiency for max root_zone_salinity <= 5.5\n")
    scenario = halovane.read_scenario(tmp_path / "s.scenario")
    assert len(scenario.runs()) == 6 and scenario.varied["qh1"] == [0.005, 0.01, 0.02]
    result = scenario.sweep(threads=2)
    printed = subprocess.run([CLI, "sweep", str(tmp_path / "s.scenario"), str(tmp_path / "out")],
                             capture_output=True, text=True) if CLI else None
    if printed:
        assert result.csv_text().encode() == (tmp_path / "out" / "s.sweep.csv").read_bytes()
        assert len(result.seeks) == 3 and all(f"({s['runs']} runs)" in printed.stdout for s in result.seeks)
    assert list(result.to_pandas().index) == [1, 2, 3, 4, 5, 6]
    (tmp_path / "bad.scenario").write_text("base base.inp\nvary no_such_field 1 2\n")
    with pytest.raises(halovane.ReadError):
        halovane.read_scenario(tmp_path / "bad.scenario")
