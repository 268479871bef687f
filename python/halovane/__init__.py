"""Halovane from Python: the model of the water table and the soil salinity
of irrigated land.

    import halovane
    data = halovane.read_input("examples/two-layer-drained.inp")
    data.leaching_efficiency_layer1 = 80          # the fields of the table of fields
    results = halovane.run(data, optimise=True)   # as the runner's `run --optimise`
    results.columns()["water_table_depth_m"]      # FILE.csv's columns as NumPy arrays
    tables = results.to_pandas()                  # results, balance, fit, profile

Every field of a data set is an attribute of `Data` named as in the user
guide's table of fields; series (rainfall, irrigation, ..., measured
salinities) are NumPy arrays with one value per time step.
"""

from collections import namedtuple

from . import _core
from ._core import Data, Problem, Results, Scenario, SweepResults, __version__, check, fields

__all__ = [
    "Data", "Problem", "Results", "Scenario", "SweepResults", "Tables", "Error", "ReadError", "WriteError",
    "DataError", "read_input", "parse_input", "write_input", "check", "run", "read_scenario", "sweep", "fields",
    "__version__",
]


class Error(Exception):
    """A failure of Halovane; `message` says what went wrong."""

    def __init__(self, message):
        super().__init__(message)
        self.message = message


class ReadError(Error):
    """A file could not be read, or is not an input data file or scenario;
    `line` is the line of the failure (0: none)."""

    def __init__(self, message, line=0):
        super().__init__(message)
        self.line = line


class WriteError(Error):
    """A file could not be written, or the data would not read back as written."""


class DataError(Error, ValueError):
    """The data set cannot be run; `problems` holds the errors of the check."""

    def __init__(self, message, problems=()):
        super().__init__(message)
        self.problems = list(problems)


def _data_or_raise(outcome):
    data, message, line = outcome
    if data is None:
        raise ReadError(message, line)
    return data


def read_input(path):
    """The data set of an input data file (any layout the program reads)."""
    return _data_or_raise(_core._read_input(str(path)))


def parse_input(text, name="<text>"):
    """The data set of the text of an input data file (str or bytes)."""
    if isinstance(text, str):
        text = text.encode("utf-8")
    return _data_or_raise(_core._parse_input(bytes(text), name))


def write_input(data, path):
    """Writes the data set as an input data file, replacing an older file only
    when the new one is complete."""
    error = _core._write_input(data, str(path))
    if error:
        raise WriteError(error)


def run(data, refine=False, optimise=False, balance=False, threads=None):
    """Runs the model on the data set in memory, as the runner's `run` does:
    `refine` and `optimise` answer the run's two questions, `balance` keeps
    the balance per step and zone, `threads` is the number of threads of the
    optimisation (None: every core). The interpreter's lock is released
    during the run, so runs of several threads go side by side. Raises
    DataError when the data cannot be run; a run that stopped because the
    water table sank below the aquifer has status "stopped" and results."""
    results = _core._run(data, bool(refine), bool(optimise), bool(balance), threads)
    if results.status != "completed" and results.status != "stopped":
        errors = [p for p in check(data) if p.severity == "error"]
        raise DataError(results.message, errors)
    return results


def read_scenario(path):
    """A scenario file with its base data set (see the user guide's "Scenario runs")."""
    scenario, error = _core._read_scenario(str(path))
    if scenario is None:
        raise ReadError(error)
    return scenario


def sweep(scenario, threads=None):
    """Makes every run of a scenario (a Scenario or the name of a scenario
    file) in memory, and its goal seeks: the table of SCENARIO.sweep.csv and
    the seeks' answers."""
    if not isinstance(scenario, Scenario):
        scenario = read_scenario(scenario)
    return scenario._sweep(threads)


Tables = namedtuple("Tables", "results balance fit profile")
Tables.__doc__ = """The tables of a run as pandas DataFrames: the results per time step
(FILE.csv, indexed by step), the balance per step, kind and zone
(FILE.balance.csv, None unless run with balance=True), the fit report per
optimised zone and the profile of every search (FILE.fit.csv,
FILE.profile.csv, None without an optimisation)."""


def _frame(columns):
    import pandas

    return None if columns is None else pandas.DataFrame(columns)


def _results_to_pandas(self):
    results = _frame(self.columns())
    results["step"] = results["step"].astype("int64")
    return Tables(results.set_index("step"), _frame(self.balance_columns()), _frame(self.fit_columns()),
                  _frame(self.profile_columns()))


def _sweep_to_pandas(self):
    """The table of the runs as a pandas DataFrame, indexed by run."""
    table = _frame(self.columns())
    table["run"] = table["run"].astype("int64")
    return table.set_index("run")


_results_to_pandas.__doc__ = Tables.__doc__
Results.to_pandas = _results_to_pandas
SweepResults.to_pandas = _sweep_to_pandas
Scenario.sweep = sweep
