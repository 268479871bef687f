"""A Monte Carlo study with Halovane and Dask's distributed scheduler.

How uncertain is the salinity of the root zone of the drained clay loam
(two-layer-drained.inp) when its leaching efficiencies and its drainage
factor are known only roughly? Every run samples the leaching efficiency of
both root-zone layers and the reaction factors QH1 and QH2 of the drains,
runs the model and keeps a few metrics.

    python3 examples/monte_carlo.py                    # 10 000 runs on this machine
    python3 examples/monte_carlo.py --runs 2000 --workers 2
    python3 examples/monte_carlo.py --scheduler tcp://scheduler:8786   # on a cluster

On a cluster every worker needs the package halovane; only the address of
the scheduler changes. The runs are sent in batches, a few per worker, so
that the scheduler handles a few tasks rather than thousands.
"""

import argparse
import pathlib
import time

import numpy as np

import halovane

HERE = pathlib.Path(__file__).resolve().parent
METRICS = ["max_root_zone_salinity", "final_root_zone_salinity", "min_water_table_depth", "drainage_per_year"]


def sample(runs, seed=1):
    """The sampled values, one row per run: the leaching efficiency of layer
    1 and of layer 2 (%), QH1 (m/day per m) and QH2 (m/day per m2)."""
    rng = np.random.default_rng(seed)
    return np.column_stack([
        rng.uniform(50, 100, runs),
        rng.uniform(50, 100, runs),
        rng.lognormal(np.log(0.005), 0.4, runs),
        rng.lognormal(np.log(0.0005), 0.4, runs),
    ])


def run_batch(base, samples):
    """The metrics of the runs of a batch of samples, one row per run (NaN
    where the data of a run cannot be run)."""
    data = base.copy()
    out = np.full((len(samples), len(METRICS)), np.nan)
    for k, (le1, le2, qh1, qh2) in enumerate(samples):
        data.leaching_efficiency_layer1 = le1
        data.leaching_efficiency_layer2 = le2
        data.qh1 = qh1
        data.qh2 = qh2
        try:
            metrics = halovane.run(data, threads=1).metrics()
        except halovane.DataError:
            continue
        out[k] = [metrics[name] for name in METRICS]
    return out


def run_sequential(base, samples):
    return run_batch(base, samples)


def run_distributed(client, base, samples, batches=None):
    """The runs spread over the workers of a Dask client, in the order of
    the samples: by default four batches per worker thread, so that every
    task is long enough for the scheduler's overhead not to count."""
    base_on_workers = client.scatter(base, broadcast=True)
    batches = np.array_split(samples, batches or 4 * sum(client.nthreads().values()))
    futures = client.map(run_batch, [base_on_workers] * len(batches), batches, pure=False)
    return np.vstack(client.gather(futures))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=10000)
    parser.add_argument("--workers", type=int, default=None, help="workers of the local cluster (default: one per core)")
    parser.add_argument("--scheduler", help="address of a running Dask scheduler, instead of a local cluster")
    parser.add_argument("--input", default=str(HERE / "two-layer-drained.inp"))
    args = parser.parse_args()

    from dask.distributed import Client, LocalCluster

    base = halovane.read_input(args.input)
    samples = sample(args.runs)
    cluster = None if args.scheduler else LocalCluster(n_workers=args.workers, threads_per_worker=1,
                                                       dashboard_address=":0")
    with Client(args.scheduler or cluster) as client:
        started = time.perf_counter()
        metrics = run_distributed(client, base, samples)
        seconds = time.perf_counter() - started
    if cluster is not None:
        cluster.close()

    print(f"{args.runs} runs in {seconds:.1f} s ({args.runs / seconds:.0f} runs per second)")
    for name, column in zip(METRICS, metrics.T):
        low, median, high = np.nanpercentile(column, [5, 50, 95])
        print(f"{name:26s} 5 %: {low:8.3f}   median: {median:8.3f}   95 %: {high:8.3f}")


if __name__ == "__main__":
    main()
