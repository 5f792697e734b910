#!/usr/bin/env python3
"""Measure how many small deliberate faults in core/ the native core tests catch.

Each mutant changes one spot in one core source (a flipped comparison, && <-> ||,
+ <-> -, an integer constant n -> n+1 or 0 <-> 1, true <-> false, a deleted `!`,
a returned value replaced by `{}`). The spots are listed from the sources in a
fixed order and picked by a seeded random generator, so the same seed over the
same core sources gives the same mutants whatever the tests look like.

Only .cpp files are mutated unless --headers is given: one changed header
rebuilds most of the tests, which makes a run many times longer.

For every mutant the file is changed in --src, core_tests is rebuilt in --build
(ninja, only that target), run with a time limit, and the file is put back, also
on Ctrl-C. A mutant that fails to build is left out of the score.

Use a clean clone and a build folder outside the repository, for example:
  git clone . /tmp/mut/src
  cmake -S /tmp/mut/src -B /tmp/mut/build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  python3 scripts/mutants.py --src /tmp/mut/src --build /tmp/mut/build --seed 1 --count 120
"""

import argparse
import json
import random
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

# Binary operators are spaced by clang-format; requiring the spaces keeps
# template brackets, pointers and rvalue references out.
SWAPS = [
    (re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)"),
     {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}),
    (re.compile(r"(?<=\s)(&&|\|\|)(?=\s)"), {"&&": "||", "||": "&&"}),
    (re.compile(r"(?<=\s)(\+|-)(?=\s)"), {"+": "-", "-": "+"}),
    (re.compile(r"\b(true|false)\b"), {"true": "false", "false": "true"}),
]
INTEGER = re.compile(r"(?<![\w.'])(\d+)(?![\w.'])")
NOT = re.compile(r"!(?!=)")
RETURN = re.compile(r"\breturn ([^;{}]+?);")
PLAIN_RETURN = re.compile(r"^(true|false|\{\}|nullptr|-?\d+|[\w:]+\(\))$")


def code_mask(text):
    """Returns text with comments and string/char literals blanked (same length)."""
    out = list(text)
    i, n = 0, len(text)

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c == "R" and text.startswith('R"', i) and not re.match(r"\w", text[i - 1 : i] or " "):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            j = n if end < 0 else end + len(m.group(1)) + 2
            blank(i, j)
            i = j
        elif c in "\"'":
            if c == "'" and i > 0 and text[i - 1].isalnum():  # digit separator
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            blank(i, j + 1)
            i = j + 1
        else:
            i += 1
    return "".join(out)


def sites_in(path, rel):
    text = path.read_text(encoding="utf-8")
    sites = []
    for lineno, (line, real) in enumerate(zip(code_mask(text).split("\n"), text.split("\n")), 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        found = []  # (column, length, replacement)
        for pattern, swap in SWAPS:
            found += [(m.start(1), len(m.group(1)), swap[m.group(1)]) for m in pattern.finditer(line)]
        for m in INTEGER.finditer(line):
            v = int(m.group(1))
            found.append((m.start(1), len(m.group(1)), "1" if v == 0 else "0" if v == 1 else str(v + 1)))
        found += [(m.start(), 1, "") for m in NOT.finditer(line)]
        found += [(m.start(1), len(m.group(1)), "{}") for m in RETURN.finditer(line)
                  if m.group(1).strip() and not PLAIN_RETURN.match(m.group(1).strip())]
        sites += [(rel, lineno, col, real[col : col + n], new) for col, n, new in found]
    return sites


def all_sites(src, folders, suffixes):
    sites = []
    for folder in folders:
        for path in sorted((src / folder).rglob("*")):
            if path.suffix in suffixes and path.is_file():
                sites.extend(sites_in(path, path.relative_to(src).as_posix()))
    return sites


def apply(text, site):
    _, lineno, col, old, new = site
    lines = text.split("\n")
    line = lines[lineno - 1]
    assert line[col : col + len(old)] == old, site
    lines[lineno - 1] = line[:col] + new + line[col + len(old) :]
    return "\n".join(lines)


def run(cmd, timeout):
    """Returns (exit code, output); the code is None when the time ran out."""
    try:
        p = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)
        return p.returncode, p.stdout.decode(errors="replace")
    except subprocess.TimeoutExpired:
        return None, ""


def interrupt(*_):
    raise KeyboardInterrupt()


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--src", required=True, type=Path, help="source tree to mutate (a clean clone)")
    ap.add_argument("--build", required=True, type=Path, help="configured Ninja build folder of --src")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--count", type=int, default=60, help="mutants to try")
    ap.add_argument("--folders", nargs="+", default=["core"], help="folders of --src to mutate (default: core)")
    ap.add_argument("--headers", action="store_true", help="mutate .h files too")
    ap.add_argument("--build-timeout", type=int, default=600, help="seconds for one rebuild")
    ap.add_argument("--test-timeout", type=int, default=120, help="seconds for one test run")
    ap.add_argument("--list", action="store_true", help="only print the chosen mutants")
    ap.add_argument("--json", type=Path, help="write every mutant's outcome and failing tests here")
    ap.add_argument("--survivors-of", type=Path, metavar="JSON",
                    help="try again only the mutants that survived in this earlier --json file")
    ap.add_argument("--caught-of", type=Path, metavar="JSON",
                    help="try again only the mutants caught in this earlier --json file"
                         " (to check that a trimmed suite still catches them)")
    ap.add_argument("--within", nargs="+", metavar="PREFIX",
                    help="of the chosen mutants, keep those in files under these prefixes"
                         " (the choice itself does not change)")
    args = ap.parse_args()
    src, build = args.src.resolve(), args.build.resolve()

    sites = all_sites(src, args.folders, (".cpp", ".h") if args.headers else (".cpp",))
    chosen = random.Random(args.seed).sample(sites, min(args.count, len(sites)))
    describe = lambda s: f"{s[0]}:{s[1]}: '{s[3]}' -> '{s[4]}'"  # noqa: E731
    for earlier_file, wanted in ((args.survivors_of, "survived"), (args.caught_of, "caught")):
        if earlier_file:
            # A line can hold the same change twice (three ">=" in one test),
            # so the column tells such mutants apart; files written before
            # the column was recorded match by name alone.
            earlier = json.loads(earlier_file.read_text())
            again = {(r["site"], r.get("column")) for r in earlier if r["outcome"] == wanted}
            chosen = [s for s in chosen
                      if (describe(s), s[2]) in again or (describe(s), None) in again]
    if args.within:
        chosen = [s for s in chosen if s[0].startswith(tuple(args.within))]
    print(f"{len(sites)} mutation sites; seed {args.seed}, {len(chosen)} mutants")
    if args.list:
        print("\n".join(describe(s) for s in chosen))
        return 0

    build_cmd = ["ninja", "-C", str(build), "core_tests"]
    test_bin = str(build / "tests" / "core_tests")
    # The first build may compile everything: no time limit for it.
    code, out = run(build_cmd, None)
    if code != 0:
        print("the unmutated tree does not build:\n" + out[-3000:])
        return 2
    code, out = run([test_bin, "--gtest_brief=1"], args.test_timeout)
    if code != 0:
        print("the unmutated tree's tests fail:\n" + out[-3000:])
        return 2

    # Ctrl-C or a kill raises inside the loop, so the finally below restores the file.
    signal.signal(signal.SIGTERM, interrupt)
    results = []
    try:
        for k, site in enumerate(chosen, 1):
            path = src / site[0]
            original = path.read_text(encoding="utf-8")
            start = time.time()
            try:
                path.write_text(apply(original, site), encoding="utf-8")
                code, _ = run(build_cmd, args.build_timeout)
                if code != 0:
                    outcome, failed = "not compiled", []
                else:
                    code, out = run([test_bin, "--gtest_brief=1"], args.test_timeout)
                    failed = sorted(set(re.findall(r"\[  FAILED  \] (\S+\.\S+)", out)))
                    outcome = "survived" if code == 0 else "caught"
                    if code is None:
                        failed = ["(timeout)"]
            finally:
                path.write_text(original, encoding="utf-8")
            results.append({"site": describe(site), "column": site[2], "outcome": outcome,
                            "failed": failed})
            print(f"[{k}/{len(chosen)}] {outcome:12} {describe(site)} ({time.time() - start:.0f}s)", flush=True)
            if args.json:  # kept up to date so that a stopped run still leaves its figures
                args.json.write_text(json.dumps(results, indent=1) + "\n")
        run(build_cmd, args.build_timeout)  # leave the build matching the sources
    except KeyboardInterrupt:
        print("interrupted; the mutated file was restored")

    caught = sum(r["outcome"] == "caught" for r in results)
    survived = [r for r in results if r["outcome"] == "survived"]
    scored = caught + len(survived)
    print(f"\nseed {args.seed}: {caught} of {scored} caught"
          f" ({100.0 * caught / scored if scored else 0:.1f}%), {len(survived)} survived,"
          f" {len(results) - scored} not compiled")
    for r in survived:
        print("  survived: " + r["site"])
    return 0


if __name__ == "__main__":
    sys.exit(main())
