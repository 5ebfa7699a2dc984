#!/usr/bin/env python3
"""Planted-fault testing: plants each fault of tests/mutants/mutants.txt, one at a time, into a scratch
copy of the tree, rebuilds, runs the suite and prints whether the suite caught it.

The scratch copy (the tracked files only) and its build folder are made once per run and are the
tool's own; the working tree is never written. A fault is caught when any test fails; one that
does not compile is reported as broken. The fast suites (unit and font) run first, straight from
their executables; only a fault they miss is run through the whole CTest suite. A fault of the
browser or the Windows target says so ("suite: web" or "suite: windows") and is judged by that
target's own build and test scripts, run in the scratch copy; the dependencies the working tree
has already built for it are copied in, so that they are not built again. A target fault its
suite passes while skipping tests (no Wine, no browser) is reported as not judged.

Usage: tests/mutants/mutants.py [--keep] [--list] [--faults FILE] [--without TESTS] [ID ...]
IDs or prefixes select faults; --faults reads another list of the same form, e.g. a new batch
before it joins the list; --without leaves out the Linux tests named (Suite.Name, comma-separated),
to show that a test can be dropped without losing a caught fault.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FAULTS = os.path.join(ROOT, "tests", "mutants", "mutants.txt")
FAST_SUITES = ["tests/zarnel_unit_tests", "tests/zarnel_font_tests"]
JOBS = str(os.cpu_count() or 2)
# Linux tests left out of every run (--without).
WITHOUT = []


# The scripts that build and test each cross target, and the folder of its dependencies.
TARGETS = {"web": ("scripts/build-web", "scripts/test-web", "build-web/deps"),
           "windows": ("scripts/build-windows", "scripts/test-windows", "build-win32/deps")}


class Fault:
    def __init__(self, ident, path, find, replace, seen, suite):
        self.ident, self.path, self.find, self.replace, self.seen = ident, path, find, replace, seen
        self.suite = suite


def unescape(text):
    """\\n and \\t stand for newline and tab, \\\\ for one backslash."""
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text) and text[i + 1] in "nt\\":
            out.append({"n": "\n", "t": "\t", "\\": "\\"}[text[i + 1]])
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def read_faults(path):
    """Blocks of 'key: value' lines separated by blank lines; '#' starts a comment line."""
    faults, block = [], {}

    def close():
        if not block:
            return
        missing = [k for k in ("id", "file", "find", "replace", "seen") if k not in block]
        if missing:
            sys.exit("%s: fault %s lacks %s" % (path, block.get("id", "?"), ", ".join(missing)))
        suite = block.get("suite", "linux")
        if suite != "linux" and suite not in TARGETS:
            sys.exit("%s: fault %s names an unknown suite %s" % (path, block["id"], suite))
        faults.append(Fault(block["id"], block["file"], unescape(block["find"]),
                            unescape(block["replace"]), block["seen"], suite))
        block.clear()

    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("#"):
                continue
            if not line.strip():
                close()
                continue
            key, _, value = line.partition(": ")
            block[key.strip()] = value
    close()
    ids = [fault.ident for fault in faults]
    duplicates = sorted({i for i in ids if ids.count(i) > 1})
    if duplicates:
        sys.exit("%s: duplicate ids %s" % (path, ", ".join(duplicates)))
    return faults


def run(command, cwd, timeout=900):
    """True when the command exits with status 0 within the timeout."""
    try:
        return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode == 0
    except subprocess.TimeoutExpired:
        return False


def copy_tree(scratch):
    files = subprocess.run(["git", "ls-files", "-z"], cwd=ROOT, check=True,
                           stdout=subprocess.PIPE).stdout.decode().split("\0")
    for name in filter(None, files):
        source = os.path.join(ROOT, name)
        if not os.path.isfile(source):
            continue
        target = os.path.join(scratch, name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(source, target)


def build(tree, build_dir):
    return run(["cmake", "--build", build_dir, "-j", JOBS], tree)


def suite_passes(tree, build_dir):
    left_out = ["--gtest_filter=-" + ":".join(WITHOUT)] if WITHOUT else []
    for suite in FAST_SUITES:
        if not run([os.path.join(build_dir, suite)] + left_out, tree, timeout=300):
            return False
    # The .deb test (lintian, minutes) checks the package's layout, which no fault here changes.
    excluded = "|".join(["^Package\\."] + ["^%s$" % re.escape(name) for name in WITHOUT])
    return run(["ctest", "-j", JOBS, "--timeout", "120", "--stop-on-failure", "-LE", "windows",
                "-E", excluded], build_dir)


def seed_target(tree, suite):
    """Copies the target's dependencies from the working tree, where they have been built."""
    deps = TARGETS[suite][2]
    if os.path.isdir(os.path.join(ROOT, deps)) and not os.path.isdir(os.path.join(tree, deps)):
        shutil.copytree(os.path.join(ROOT, deps), os.path.join(tree, deps), symlinks=True)


def target_builds(tree, suite):
    return run([os.path.join(tree, TARGETS[suite][0])], tree, timeout=1800)


def target_passes(tree, suite):
    return run([os.path.join(tree, TARGETS[suite][1])], tree, timeout=1800)


def target_skipped(tree, suite):
    """True when the target's last test run skipped tests it could not run (no Wine, no browser)."""
    try:
        with open(os.path.join(tree, "build", "skipped-tests.txt"), encoding="utf-8") as f:
            return any(line.startswith(suite + ":") for line in f)
    except OSError:
        return False


def try_fault(fault, tree, build_dir):
    """'caught', 'survived', 'stale' (its text is not found exactly once), 'broken' (it does not
    compile: a fault must change behaviour, not the build) or 'unjudged' (a target's suite passed
    with tests skipped, which might have caught it)."""
    path = os.path.join(tree, fault.path)
    with open(path, encoding="utf-8") as f:
        original = f.read()
    if original.count(fault.find) != 1:
        return "stale"
    with open(path, "w", encoding="utf-8") as f:
        f.write(original.replace(fault.find, fault.replace))
    try:
        if fault.suite != "linux":
            if not target_builds(tree, fault.suite):
                return "broken"
            if not target_passes(tree, fault.suite):
                return "caught"
            return "unjudged" if target_skipped(tree, fault.suite) else "survived"
        if not build(tree, build_dir):
            return "broken"
        return "survived" if suite_passes(tree, build_dir) else "caught"
    finally:
        with open(path, "w", encoding="utf-8") as f:
            f.write(original)


def main(argv):
    keep = "--keep" in argv
    path = FAULTS
    if "--faults" in argv:
        at = argv.index("--faults")
        path = os.path.abspath(argv[at + 1])
        argv = argv[:at] + argv[at + 2:]
    if "--without" in argv:
        at = argv.index("--without")
        WITHOUT.extend(filter(None, argv[at + 1].split(",")))
        argv = argv[:at] + argv[at + 2:]
    faults = read_faults(path)
    if "--list" in argv:
        for fault in faults:
            print("%-22s %s" % (fault.ident, fault.seen))
        return 0
    chosen = [a for a in argv if not a.startswith("--")]
    if chosen:
        faults = [f for f in faults if any(f.ident.startswith(c) for c in chosen)]
    scratch = tempfile.mkdtemp(prefix="zarnel-mutants-")
    tree, build_dir = os.path.join(scratch, "tree"), os.path.join(scratch, "build")
    try:
        copy_tree(tree)
        started = time.time()
        if any(f.suite == "linux" for f in faults):
            configured = run(["cmake", "-S", tree, "-B", build_dir, "-DCMAKE_BUILD_TYPE=Release",
                              "-DZARNEL_BUILD_TESTS=ON"], tree)
            if not configured or not build(tree, build_dir) or not suite_passes(tree, build_dir):
                print("The unchanged tree does not build or pass its suite: nothing to measure.")
                return 2
        for suite in sorted({f.suite for f in faults} - {"linux"}):
            seed_target(tree, suite)
            if not target_builds(tree, suite) or not target_passes(tree, suite):
                print("The unchanged tree does not pass its %s suite: nothing to measure." % suite)
                return 2
        print("baseline built and passed in %d s; %d faults" % (time.time() - started, len(faults)))
        results = {}
        for fault in faults:
            t = time.time()
            results[fault.ident] = outcome = try_fault(fault, tree, build_dir)
            print("%-9s %-22s %3d s  %s" % (outcome, fault.ident, time.time() - t, fault.seen),
                  flush=True)
        caught = sum(1 for r in results.values() if r == "caught")
        measured = sum(1 for r in results.values() if r in ("caught", "survived"))
        unjudged = sum(1 for r in results.values() if r == "unjudged")
        print("score: %d of %d planted faults caught (%d stale or broken, %d not judged: their "
              "suite skipped tests) in %d s" % (caught, measured, len(results) - measured - unjudged,
                                                unjudged, time.time() - started))
        return 0 if caught == measured and measured == len(results) else 1
    finally:
        if keep:
            print("scratch tree kept in", scratch)
        else:
            shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
