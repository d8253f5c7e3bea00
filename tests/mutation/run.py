#!/usr/bin/env python3
"""Mutation run: applies each fault of faults.txt in turn to a scratch copy of the tree, builds it
incrementally and runs the test labels fast ones first, stopping at the first failing label. Prints
"killed" (a test failed), "survived" (every label passed), "timeout" (the fault's time ran out first)
or "no-build" per fault, with totals. Run by hand; it is not part of CI.

  tests/mutation/run.py [--only M01,M07] [--limit 420] [--results out.tsv] [--tree DIR] [--check]

Results are appended to the results file as they come, and faults already in it are skipped, so an
interrupted run continues where it stopped."""
import argparse
import os
import pathlib
import re
import shutil
import signal
import subprocess
import sys
import time

HERE = pathlib.Path(__file__).resolve().parent
REPO = HERE.parent.parent
# Only what the tests run is rebuilt per fault; the benchmarks and tools would only add links.
TARGETS = ["duskvale", "unit_tests", "gl_tests", "png_probe", "pcm_probe"]
LABELS = [("unit", 2), ("gl", 1), ("e2e", 1), ("robustness", 1)]  # (label, ctest jobs)
# The scripts that catch the most faults for their time: the command line's exit codes, and the static
# scene's pictures and golden images, which nearly every rendering fault changes.
FIRST = {"e2e_command_line", "e2e_static_scene_images"}
# Unit tests of the asset generator alone (tools/), which no fault in the viewer or its shaders reaches.
GENERATOR_ONLY = "^(AssetGenerator|GeneratedAudio)[.]"


def read_faults(path):
    faults, current = [], None
    for raw in path.read_text().splitlines():
        if raw.startswith("#") or not raw.strip():
            continue
        if raw.startswith("- ") and current:
            current["from"] = raw[2:].strip()
        elif raw.startswith("+ ") and current:
            current["to"] = raw[2:].strip()
        else:
            ident, file = raw.split()
            current = {"id": ident, "file": file}
            faults.append(current)
    for fault in faults:
        if "from" not in fault or "to" not in fault or fault["from"] == fault["to"]:
            sys.exit(f"{fault['id']}: needs a '- ' line and a different '+ ' line")
    return faults


def mutate(text, fault):
    lines = text.split("\n")
    hits = [i for i, line in enumerate(lines) if line.strip() == fault["from"]]
    if len(hits) != 1:
        raise ValueError(f"{fault['id']}: {fault['file']} has the line {len(hits)} times: {fault['from']}")
    line = lines[hits[0]]
    lines[hits[0]] = line[: len(line) - len(line.lstrip())] + fault["to"]
    return "\n".join(lines)


def run(cmd, cwd, deadline, log):
    """Runs cmd in its own process group; returns its exit status, or None once the deadline passes."""
    with open(log, "a") as out:
        out.write(f"\n$ {' '.join(cmd)}\n")
        out.flush()
        proc = subprocess.Popen(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT, start_new_session=True)
        try:
            return proc.wait(timeout=max(1.0, deadline - time.time()))
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
            return None


def sync(source, copy):
    """Makes copy hold source's files (no build folders, no .git). Files are copied only where the
    content differs, with a fresh time stamp, so a fault left behind by an interrupted run is rebuilt."""
    keep = set()
    for path in source.rglob("*"):
        rel = path.relative_to(source)
        if rel.parts[0].startswith("build") or rel.parts[0] == ".git":
            continue
        keep.add(rel)
        dest = copy / rel
        if path.is_dir():
            dest.mkdir(parents=True, exist_ok=True)
        elif path.is_symlink() or not dest.exists() or dest.read_bytes() != path.read_bytes():
            dest.unlink(missing_ok=True)
            shutil.copy(path, dest, follow_symlinks=False)
    for path in sorted(copy.rglob("*"), reverse=True):
        rel = path.relative_to(copy)
        if rel.parts[0].startswith("build") or rel in keep:
            continue
        path.rmdir() if path.is_dir() and not path.is_symlink() else path.unlink()


def prepare(tree, scratch, log):
    src = scratch / "src"
    src.mkdir(parents=True, exist_ok=True)
    sync(tree, src)
    build = src / "build"
    configure = ["cmake", "-S", ".", "-B", "build", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                 "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache",
                 "-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld"]
    forever = time.time() + 3600
    if run(configure, src, forever, log) != 0 or run(["cmake", "--build", "build", "-j2"], src, forever, log) != 0:
        sys.exit(f"the unmutated scratch tree does not build; see {log}")
    return src, build


def cheapest_first(src, label):
    """The tests of a label, FIRST ones first, then by the time CTest last measured (unknown ones last)."""
    listing = subprocess.run(["ctest", "--test-dir", "build", "-N", "-L", f"^{label}$"], cwd=src,
                             capture_output=True, text=True).stdout
    names = re.findall(r"^\s*Test\s+#\d+: (\S+)", listing, re.MULTILINE)
    costs = {}
    cost_file = src / "build" / "Testing" / "Temporary" / "CTestCostData.txt"
    if cost_file.exists():
        for line in cost_file.read_text().splitlines():
            cells = line.split()
            if len(cells) == 3:
                costs[cells[0]] = float(cells[2])
    return sorted(names, key=lambda name: (name not in FIRST, costs.get(name, float("inf"))))


def try_fault(fault, src, limit, log):
    target = src / fault["file"]
    original = target.read_text()
    target.write_text(mutate(original, fault))
    started = time.time()
    deadline = started + limit
    with open(log, "a") as out:
        out.write(f"\n=== {fault['id']} {fault['file']}: {fault['to']}\n")
    try:
        status = run(["cmake", "--build", "build", "-j2", "--target", *TARGETS], src, deadline, log)
        if status is None:
            return "timeout", "build", started
        if status != 0:
            return "no-build", "", started
        for label, jobs in LABELS:
            # The many quick unit tests go in one call; the slow scripts one by one, cheapest first, so
            # that a fault one of them catches is not kept waiting behind the longest.
            if jobs > 1:
                calls = [["-L", f"^{label}$", "-E", GENERATOR_ONLY, "-j", str(jobs)]]
            else:
                calls = [["-R", f"^{name}$"] for name in cheapest_first(src, label)]
            for call in calls:
                status = run(["ctest", "--test-dir", "build", "--stop-on-failure", "--output-on-failure", *call],
                             src, deadline, log)
                if status is None:
                    return "timeout", label, started
                if status != 0:
                    return "killed", label, started
        return "survived", "", started
    finally:
        target.write_text(original)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--faults", type=pathlib.Path, default=HERE / "faults.txt")
    parser.add_argument("--only", default="", help="comma-separated fault ids")
    parser.add_argument("--limit", type=float, default=420, help="seconds per fault, build included")
    parser.add_argument("--scratch", type=pathlib.Path, default=pathlib.Path("/tmp/duskvale-mutation"))
    parser.add_argument("--results", type=pathlib.Path, default=None)
    parser.add_argument("--tree", type=pathlib.Path, default=REPO,
                        help="the tree to mutate (default: this checkout, uncommitted changes included)")
    parser.add_argument("--check", action="store_true", help="only check that every fault applies")
    args = parser.parse_args()

    faults = [f for f in read_faults(args.faults) if not args.only or f["id"] in args.only.split(",")]
    bad = []
    for fault in faults:
        try:
            mutate((args.tree / fault["file"]).read_text(), fault)
        except (ValueError, OSError) as error:
            bad.append(str(error))
    if bad:
        sys.exit("faults that no longer apply:\n  " + "\n  ".join(bad))
    if args.check:
        print(f"all {len(faults)} faults apply")
        return

    args.scratch.mkdir(parents=True, exist_ok=True)
    results = args.results or args.scratch / "results.tsv"
    log = args.scratch / "log.txt"
    rows = [line.split("\t") for line in results.read_text().splitlines()] if results.exists() else []
    done = {cells[0]: cells for cells in rows}
    src, _ = prepare(args.tree.resolve(), args.scratch, log)
    for fault in faults:
        if fault["id"] in done:
            cells = done[fault["id"]]
        else:
            outcome, label, started = try_fault(fault, src, args.limit, log)
            cells = [fault["id"], outcome, label, f"{time.time() - started:.0f}", fault["file"]]
            with open(results, "a") as out:
                out.write("\t".join(cells) + "\n")
            done[fault["id"]] = cells
        print(f"{cells[0]}  {cells[1]:<9} {cells[2]:<10} {cells[3]:>4} s  {cells[4]}", flush=True)
    outcomes = [done[f["id"]][1] for f in faults]
    print("total: " + ", ".join(f"{outcomes.count(k)} {k}" for k in ("killed", "survived", "timeout", "no-build"))
          + f" of {len(faults)}")


if __name__ == "__main__":
    main()
