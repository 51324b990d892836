#!/usr/bin/env python3
"""Seeds faults into the code one at a time and checks that a test notices each.

Usage: tools/mutate.py [--build DIR] [--only TEXT] [--targets T1,T2...] [MUTANT_FILE...]
(default every file in tools/mutants/, one per subsystem; --targets builds only those targets)

Each mutant is one line of four fields separated by " :: ":
    source path :: text to replace :: replacement :: ctest regex of the tests to run
The text must occur exactly once in the file. Blank lines and lines starting with # are
skipped; "\\n" in a field stands for a line end. For each mutant the file is changed, the build
directory rebuilt and the named tests run on a virtual X display (xvfb-run); the file is then
restored, also when the run is interrupted. A mutant is "caught" when the build succeeds and a
test fails, "survived" when every test passes, and "invalid" when the text is not found once or
the mutant does not compile. Exits 1 when any mutant survives or is invalid.
"""

import argparse
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def parse(path):
    mutants = []
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            fields = [f.replace("\\n", "\n") for f in line.split(" :: ")]
            if len(fields) != 4:
                sys.exit("%s:%d: expected four fields separated by ' :: '" % (path, number))
            mutants.append((number, *fields))
    return mutants


def run(command, cwd):
    return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def build_command(build, targets):
    command = ["cmake", "--build", build, "-j", str(os.cpu_count())]
    return command + ["--target", *targets] if targets else command


def verdict(build, targets, source, old, new, tests):
    path = os.path.join(ROOT, source)
    with open(path, encoding="utf-8") as f:
        original = f.read()
    if original.count(old) != 1:
        return "invalid (text found %d times)" % original.count(old)
    try:
        with open(path, "w", encoding="utf-8") as f:
            f.write(original.replace(old, new))
        if not run(build_command(build, targets), ROOT):
            return "invalid (does not compile)"
        passed = run(["xvfb-run", "-a", "-s", "-screen 0 1024x768x24", "ctest", "-R", tests,
                      "--timeout", "120"], build)
        return "survived" if passed else "caught"
    finally:
        with open(path, "w", encoding="utf-8") as f:
            f.write(original)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mutants", nargs="*")
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--only", default="", help="run only mutants whose line contains this")
    parser.add_argument("--targets", default="", help="build only these targets, comma-separated")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    targets = [t for t in args.targets.split(",") if t]
    failures = 0
    folder = os.path.join(ROOT, "tools", "mutants")
    files = args.mutants or sorted(os.path.join(folder, f) for f in os.listdir(folder))
    mutants = [(os.path.basename(f), *m) for f in files for m in parse(f)]
    for name, number, source, old, new, tests in mutants:
        if args.only not in "%s %s %s" % (source, old, new):
            continue
        result = verdict(build, targets, source, old, new, tests)
        failures += result != "caught"
        print("%s:%d %-8s %s: %r -> %r" % (name, number, result.split()[0], source, old, new),
              flush=True)
        if result.startswith("invalid"):
            print("     " + result)
    # Leave the build matching the restored sources.
    run(build_command(build, targets), ROOT)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
