#!/usr/bin/env python3
"""Reduces the benchmark drivers' samples to medians and prints one table,
each figure beside its goal. Never fails because a figure misses its goal.

Usage: bench_table.py --exe STRIPPED_EXE --samples FILE
"""

import argparse
import os
import statistics
import sys
from collections import defaultdict

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "hygiene"))
import pefile  # noqa: E402
from check_release_image import SYSTEM_DLLS, imported  # noqa: E402

SIZE_GOAL_BYTES = 256 * 1024
STARTUP_RATIO_GOAL = 1.15
CLICK_GOAL_MS = 100.0
PEAK_RATIO_GOAL = 1.5
LISTING_RATIO_GOAL = 12.0
LISTING_SIZES = (100, 1000, 10000)


def read_samples(path):
    samples = defaultdict(list)
    failures = []
    with open(path) as lines:
        for line in lines:
            parts = line.split()
            if not parts:
                continue
            if parts[0] == "failed":
                failures.append(" ".join(parts[1:]))
                continue
            try:
                samples[parts[0]].append(float(parts[1]))
            except (IndexError, ValueError):
                failures.append("unreadable line: " + line.strip())
    return samples, failures


class Table:
    def __init__(self):
        self.rows = []

    def add(self, figure, value, goal="", met=None):
        verdict = "" if met is None else ("met" if met else "NOT met")
        self.rows.append((figure, value, goal, verdict))

    def print(self):
        header = ("figure", "value", "goal", "")
        widths = [max(len(row[i]) for row in self.rows + [header]) for i in range(4)]
        for row in [header] + self.rows:
            print("  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())


def median(samples, key):
    values = samples.get(key, [])
    return (statistics.median(values), len(values)) if values else (None, 0)


def ms(value):
    return "n/a" if value is None else f"{value:.1f} ms"


def mib(value):
    return "n/a" if value is None else f"{value / 1048576:.1f} MiB"


def ratio(numerator, denominator):
    return numerator / denominator if numerator is not None and denominator else None


def add_image(table, exe):
    size = os.path.getsize(exe)
    table.add("exe size, stripped", f"{size:,} B", f"<= {SIZE_GOAL_BYTES:,} B", size <= SIZE_GOAL_BYTES)
    dlls = sorted(imported(pefile.PE(exe)))
    foreign = [dll for dll in dlls if dll not in SYSTEM_DLLS]
    table.add("imported DLLs", f"{len(dlls)}" + (f", foreign: {' '.join(foreign)}" if foreign else ""),
              "system DLLs only", not foreign)
    return dlls


def add_ratio_rows(table, samples, label, tool_key, baseline_key, goal, unit):
    tool, tool_runs = median(samples, tool_key)
    baseline, baseline_runs = median(samples, baseline_key)
    table.add(f"{label}, tool (median of {tool_runs})", unit(tool))
    table.add(f"{label}, baseline (median of {baseline_runs})", unit(baseline))
    value = ratio(tool, baseline)
    table.add(f"{label}, ratio", "n/a" if value is None else f"{value:.2f}", f"<= {goal}",
              None if value is None else value <= goal)


def add_yardsticks(table, samples):
    """Where the floor lies for a program that shows common controls 6: no goal."""
    tool, _ = median(samples, "startup_tool_ms")
    baseline, _ = median(samples, "startup_baseline_ms")
    for key, label in (("startup_comctl_ms", "window + common controls 6 loaded"),
                       ("startup_button_ms", "window + one themed button")):
        value, runs = median(samples, key)
        table.add(f"start-up, {label} (median of {runs})", ms(value))
        to_baseline, tool_to_it = ratio(value, baseline), ratio(tool, value)
        table.add("  its ratio to the baseline / the tool's to it",
                  "n/a" if None in (to_baseline, tool_to_it) else f"{to_baseline:.2f} / {tool_to_it:.2f}", "(no goal)")


def add_clicks(table, samples):
    for key, label in (("click_first_ms", "first"), ("click_second_ms", "second")):
        value, runs = median(samples, key)
        table.add(f"configure click, {label} (median of {runs})", ms(value), f"< {CLICK_GOAL_MS:.0f} ms",
                  None if value is None else value < CLICK_GOAL_MS)


def add_listing(table, samples):
    medians = {}
    for count in LISTING_SIZES:
        medians[count], calls = median(samples, f"list_{count}_ms")
        table.add(f"listVariables, {count:,} variables (median of {calls})", ms(medians[count]))
    value = ratio(medians[10000], medians[1000])
    table.add("listVariables, 10,000 / 1,000", "n/a" if value is None else f"{value:.2f}",
              f"<= {LISTING_RATIO_GOAL:.0f}", None if value is None else value <= LISTING_RATIO_GOAL)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--samples", required=True)
    arguments = parser.parse_args()

    samples, failures = read_samples(arguments.samples)
    table = Table()
    dlls = add_image(table, arguments.exe)
    add_ratio_rows(table, samples, "start-up", "startup_tool_ms", "startup_baseline_ms", STARTUP_RATIO_GOAL, ms)
    add_yardsticks(table, samples)
    add_clicks(table, samples)
    add_ratio_rows(table, samples, "peak working set", "peak_tool_bytes", "peak_baseline_bytes",
                   PEAK_RATIO_GOAL, mib)
    add_listing(table, samples)
    table.print()
    print("imported DLLs: " + " ".join(dll.removesuffix(".dll").removesuffix(".DLL") for dll in dlls))
    for failure in failures:
        print(f"note: a run failed: {failure}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
