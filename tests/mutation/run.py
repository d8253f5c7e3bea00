#!/usr/bin/env python3
"""Mutation run: applies each fault of faults.txt in turn to a scratch copy of the tree, builds it
incrementally and runs the test labels fast ones first, stopping at the first failing label. Prints
"killed", "survived", "timeout" (the fault's time ran out) or "no-build" per fault, with totals. Run by
hand, not in CI. Results are appended as they come and faults already in the results file are
skipped, so an interrupted run continues where it stopped."""
import argparse, os, pathlib, re, shutil, signal, subprocess, sys, time

HERE = pathlib.Path(__file__).resolve().parent
TARGETS = ["duskvale", "unit_tests", "gl_tests", "png_probe", "pcm_probe"]  # what the tests run
LABELS = [("unit", 2), ("gl", 1), ("e2e", 1), ("robustness", 1)]  # (label, ctest jobs)
# The scripts that catch the most faults for their time: exit codes, and the static scene's pictures.
FIRST = {"e2e_command_line", "e2e_static_scene_images"}
# Unit tests of the asset generator alone, which no fault in the viewer or its shaders reaches.
GENERATOR_ONLY = "^(AssetGenerator|GeneratedAudio)[.]"


def read_faults(path):
    faults = []
    for raw in path.read_text().splitlines():
        if raw.startswith("#") or not raw.strip():
            continue
        if raw[:2] in ("- ", "+ ") and faults:
            faults[-1]["from" if raw[0] == "-" else "to"] = raw[2:].strip()
        else:
            ident, file = raw.split()
            faults.append({"id": ident, "file": file})
    for f in faults:
        if f.get("from") is None or f.get("to") in (None, f["from"]):
            sys.exit(f"{f['id']}: needs a '- ' line and a different '+ ' line")
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


def sync(source, copy):
    """Makes copy hold source's files (no build folders, no .git), copying only what differs, with a
    fresh time stamp, so that a fault left behind by an interrupted run is rebuilt."""
    skip = lambda rel: rel.parts[0].startswith("build") or rel.parts[0] == ".git"
    keep = {p.relative_to(source) for p in source.rglob("*") if not skip(p.relative_to(source))}
    for rel in sorted(keep):
        path, dest = source / rel, copy / rel
        if path.is_dir() and not path.is_symlink():
            dest.mkdir(parents=True, exist_ok=True)
        elif path.is_symlink() or not dest.exists() or dest.read_bytes() != path.read_bytes():
            dest.unlink(missing_ok=True)
            shutil.copy(path, dest, follow_symlinks=False)
    for path in sorted(copy.rglob("*"), reverse=True):
        rel = path.relative_to(copy)
        if not skip(rel) and rel not in keep:
            path.rmdir() if path.is_dir() and not path.is_symlink() else path.unlink()


def ordered_tests(src, label):
    """The tests of a label, FIRST ones first, then by the time CTest last measured (unknown ones last)."""
    listing = subprocess.run(["ctest", "--test-dir", "build", "-N", "-L", f"^{label}$"], cwd=src,
                             capture_output=True, text=True).stdout
    cost_file = src / "build/Testing/Temporary/CTestCostData.txt"
    cells = [line.split() for line in cost_file.read_text().splitlines()] if cost_file.exists() else []
    costs = {c[0]: float(c[2]) for c in cells if len(c) == 3}
    names = re.findall(r"^\s*Test\s+#\d+: (\S+)", listing, re.MULTILINE)
    return sorted(names, key=lambda name: (name not in FIRST, costs.get(name, float("inf"))))


def try_fault(fault, src, limit, log):
    target = src / fault["file"]
    original = target.read_text()
    target.write_text(mutate(original, fault))
    deadline = time.time() + limit
    with open(log, "a") as out:
        out.write(f"\n=== {fault['id']} {fault['file']}: {fault['to']}\n")
    try:
        status = run(["cmake", "--build", "build", "-j2", "--target", *TARGETS], src, deadline, log)
        if status is None or status != 0:
            return ("timeout", "build") if status is None else ("no-build", "")
        for label, jobs in LABELS:
            # The quick unit tests in one call; the slow scripts one by one, cheapest first.
            calls = ([["-L", f"^{label}$", "-E", GENERATOR_ONLY, "-j", str(jobs)]] if jobs > 1 else
                     [["-R", f"^{name}$"] for name in ordered_tests(src, label)])
            for call in calls:
                status = run(["ctest", "--test-dir", "build", "--stop-on-failure", "--output-on-failure", *call],
                             src, deadline, log)
                if status is None or status != 0:
                    return ("timeout" if status is None else "killed"), label
        return "survived", ""
    finally:
        target.write_text(original)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--faults", type=pathlib.Path, default=HERE / "faults.txt")
    parser.add_argument("--only", default="", help="comma-separated fault ids")
    parser.add_argument("--limit", type=float, default=420, help="seconds per fault, build included")
    parser.add_argument("--scratch", type=pathlib.Path, default=pathlib.Path("/tmp/duskvale-mutation"))
    parser.add_argument("--results", type=pathlib.Path, default=None)
    parser.add_argument("--tree", type=pathlib.Path, default=HERE.parent.parent,
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
    if bad or args.check:
        sys.exit("faults that no longer apply:\n  " + "\n  ".join(bad)) if bad else print(f"all {len(faults)} faults apply")
        return

    src = args.scratch / "src"
    src.mkdir(parents=True, exist_ok=True)
    results, log = args.results or args.scratch / "results.tsv", args.scratch / "log.txt"
    done = {c[0]: c for c in (l.split("\t") for l in results.read_text().splitlines())} if results.exists() else {}
    sync(args.tree.resolve(), src)
    forever = time.time() + 3600
    for step in (["cmake", "-S", ".", "-B", "build", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                  "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache",
                  "-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld"], ["cmake", "--build", "build", "-j2"]):
        if run(step, src, forever, log) != 0:
            sys.exit(f"the unmutated scratch tree does not build; see {log}")
    for fault in faults:
        if fault["id"] not in done:
            started = time.time()
            outcome, label = try_fault(fault, src, args.limit, log)
            done[fault["id"]] = [fault["id"], outcome, label, f"{time.time() - started:.0f}", fault["file"]]
            with open(results, "a") as out:
                out.write("\t".join(done[fault["id"]]) + "\n")
        cells = done[fault["id"]]
        print(f"{cells[0]}  {cells[1]:<9} {cells[2]:<10} {cells[3]:>4} s  {cells[4]}", flush=True)
    outcomes = [done[f["id"]][1] for f in faults]
    print("total: " + ", ".join(f"{outcomes.count(k)} {k}" for k in ("killed", "survived", "timeout", "no-build"))
          + f" of {len(faults)}")


if __name__ == "__main__":
    main()
