#!/usr/bin/env python3
"""Lines of tests against lines of product code.

Counts the lines of tracked text files that are neither blank nor comment-only
(C/C++ // and /* */, '#' in Python, CMake and shell). Product code is core/,
starter/, installer/ and tools/; everything under tests/ is test code, data
files included. --by-folder also prints each test folder against the code it
tests: tests/core/<x> -> core/<x>, tests/win/<x> -> starter/<x>,
tests/installer -> installer/, tests/tools -> tools/, tests/e2e -> starter/ and
installer/; folders that test nothing of their own (helpers, support) get '-'.
"""

import argparse
import subprocess
import sys
from collections import defaultdict
from pathlib import Path

PRODUCT = ("core", "starter", "installer", "tools")
C_LIKE = {".c", ".cc", ".cpp", ".h", ".hpp", ".rc", ".in"}
HASH = {".py", ".sh", ".cmake", ".txt"}


def c_code_lines(text):
    count, in_block = 0, False
    for line in text.splitlines():
        code, i, quote = False, 0, None
        while i < len(line):
            two = line[i : i + 2]
            if in_block:
                if two == "*/":
                    in_block, i = False, i + 2
                    continue
            elif quote:
                if line[i] == "\\":
                    i += 1
                elif line[i] == quote:
                    quote = None
            elif two == "//":
                break
            elif two == "/*":
                in_block, i = True, i + 2
                continue
            elif not line[i].isspace():
                code = True
                if line[i] in "\"'" and not (line[i] == "'" and i and line[i - 1].isalnum()):
                    quote = line[i]
            i += 1
        count += code
    return count


def code_lines(path):
    try:
        text = path.read_bytes().decode("utf-8")
    except (UnicodeDecodeError, OSError):
        return 0  # images and other binary resources
    if "\0" in text:
        return 0
    if path.suffix in C_LIKE:
        return c_code_lines(text)
    hash_comments = path.suffix in HASH or path.name == "CMakeLists.txt"
    return sum(1 for l in text.splitlines() if l.strip() and not (hash_comments and l.strip().startswith("#")))


def tested_code(test_folder):
    parts = test_folder.split("/") + [""]
    if parts[1] == "core" and parts[2]:
        return ["core/" + parts[2]]
    if parts[1] == "win" and parts[2]:
        return ["starter/" + parts[2]]
    return {"installer": ["installer"], "tools": ["tools"], "e2e": ["starter", "installer"]}.get(parts[1], [])


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--by-folder", action="store_true", help="print each test folder against the code it tests")
    ap.add_argument("--repo", type=Path, default=Path(__file__).resolve().parent.parent)
    args = ap.parse_args()

    files = subprocess.run(["git", "-C", str(args.repo), "ls-files", "-z"], stdout=subprocess.PIPE,
                           check=True).stdout.decode().split("\0")
    lines = {f: code_lines(args.repo / f) for f in files if f.split("/")[0] in PRODUCT + ("tests",)}
    product = sum(n for f, n in lines.items() if not f.startswith("tests/"))
    tests = sum(n for f, n in lines.items() if f.startswith("tests/"))

    if args.by_folder:
        folders = defaultdict(int)
        for f, n in lines.items():
            parts = f.split("/")
            if parts[0] == "tests":
                depth = 3 if parts[1] in ("core", "win") and len(parts) > 3 else 2 if len(parts) > 2 else 1
                folders["/".join(parts[:depth])] += n
        print(f"{'test folder':28} {'tests':>6} {'code':>6} {'ratio':>6}")
        for folder in sorted(folders):
            code = sum(n for f, n in lines.items() for c in tested_code(folder) if f.startswith(c + "/"))
            ratio = f"{folders[folder] / code:6.2f}" if code else "     -"
            print(f"{folder:28} {folders[folder]:6} {code or '-':>6} {ratio}")
    print(f"tests {tests} lines, product {product} lines, ratio {tests / product:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
