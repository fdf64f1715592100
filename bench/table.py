#!/usr/bin/env python3
"""table.py INPUT_BYTES WORK LOAD RUNS OURS PEERS KEY=LABEL...

Prints the benchmark's tables in Markdown from WORK/KEY.runs (one line per run: seconds,
peak resident KiB, output bytes, processor seconds): medians of every column per step, then each of OURS (keys,
comma-separated) against each of PEERS: how many times faster, how large its output and its
peak memory are relative to the peer's."""
import os
import statistics
import sys


def medians(work, key):
    with open(os.path.join(work, key + ".runs")) as f:
        runs = [list(map(float, line.split())) for line in f if line.strip()]
    return [statistics.median(column) for column in zip(*runs)]


def ratio(a, b):
    return "%.2f" % (a / b) if a and b else "-"


def throughput(size, seconds):
    # A step quicker than the timer's resolution reads 0 seconds: its rate is unknown, not infinite.
    return "%.1f" % (size / 1e6 / seconds) if seconds else "-"


def main():
    size, work, load, runs, ours, peers = sys.argv[1:7]
    size = int(size)
    labels = dict(arg.split("=", 1) for arg in sys.argv[7:])
    results = {key: medians(work, key) for key in labels}
    print("input: %d bytes (%.1f MiB), %d processors, medians of %s runs; after the runs: %s" % (
        size, size / 1048576, os.cpu_count(), runs, load.strip()))
    print()
    # Processor seconds (user and system, all threads) tell a busy machine's share from the
    # work itself; for a Wine program they leave wineserver out, as the peak memory does.
    print("| step | time s | input MB/s | output bytes | output/input | peak RSS MiB | CPU s |")
    print("|---|---|---|---|---|---|---|")
    for key, label in labels.items():
        seconds, rss, out, cpu = results[key]
        print("| %s | %.2f | %s | %s | %s | %.1f | %.2f |" % (
            label, seconds, throughput(size, seconds), "%d" % out if out else "-",
            "%.4f" % (out / size) if out and size else "-", rss / 1024, cpu))
    print()
    print("| ours | against | times faster | output size x | peak memory x |")
    print("|---|---|---|---|---|")
    for our in ours.split(","):
        for peer in peers.split(","):
            (t, rss, out, _), (pt, prss, pout, _) = results[our], results[peer]
            print("| %s | %s | %s | %s | %s |" % (
                labels[our], labels[peer], ratio(pt, t), ratio(out, pout), ratio(rss, prss)))


if __name__ == "__main__":
    main()
