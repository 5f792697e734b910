#!/usr/bin/env python3
"""Checks the direction of dependencies between the source folders.

core/ and starter/ are split into folders, each one library. A folder may
include its own headers and those of the folders listed before it below;
starter/ may include any of core/, core/ never includes starter/ nor a
Windows header, and no source sits directly in core/ or starter/. The build
links each library only to the libraries it may use; this check catches a
wrong-way include before it turns into a link error (or, for a header-only
use, into nothing at all). The manual installer (installer/) uses neither
core/ nor starter/.

Exit 0 when every include runs the right way, 1 with one line per fault.
"""
import os
import re
import sys

LAYERS = {
    "core": ["base", "profile", "launch", "settings", "update_list", "catalogue",
             "install", "shell", "ui", "driver", "report", "self_update"],
    "starter": ["platform", "net", "report", "settings", "app", "download", "install",
                "shell", "launch", "game", "ui", "driver", "self_update", "startup"],
}
# Folders every folder of the tree may use: the starter's resource ids.
SHARED = {"resources"}
# Headers that belong to Windows; core is portable.
WINDOWS_HEADERS = re.compile(
    r"^(windows|winbase|windef|winuser|wininet|winsock2?|ws2tcpip|shlobj|shellapi|"
    r"shlwapi|objbase|ole2|urlmon|commctrl|tchar|process|io|direct)\.h$", re.I)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
SOURCE = re.compile(r"\.(h|hpp|cpp|cc|c|in)$")


def faults_of(root, tree, folder, path, text):
    rank = LAYERS[tree].index(folder)
    for kind, target in INCLUDE.findall(text):
        parts = target.split("/")
        if kind == "<":
            if tree == "core" and WINDOWS_HEADERS.match(target):
                yield f"{path}: core includes the Windows header <{target}>"
            continue
        if parts[0] == "starter" and tree == "core":
            yield f"{path}: core includes {target}"
        elif parts[0] == tree and len(parts) > 2:
            other = parts[1]
            if other in SHARED:
                continue
            if other not in LAYERS[tree]:
                yield f"{path}: includes {target} from the unknown folder {tree}/{other}"
            elif LAYERS[tree].index(other) > rank:
                yield f"{path}: {tree}/{folder} may not use {tree}/{other} ({target})"
        elif parts[0] in LAYERS and len(parts) == 2:
            yield f"{path}: includes {target}, which sits outside the folders"


def main(argv):
    root = os.path.abspath(argv[1] if len(argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    faults = []
    for tree, folders in LAYERS.items():
        base = os.path.join(root, tree)
        for entry in sorted(os.listdir(base)):
            full = os.path.join(base, entry)
            if os.path.isfile(full) and SOURCE.search(entry):
                faults.append(f"{tree}/{entry}: sits directly in {tree}/, not in a folder")
            if not os.path.isdir(full) or entry in SHARED:
                continue
            if entry not in folders:
                faults.append(f"{tree}/{entry}: a folder the layering does not know")
                continue
            for dirpath, _, files in os.walk(full):
                for name in sorted(files):
                    if not SOURCE.search(name):
                        continue
                    path = os.path.relpath(os.path.join(dirpath, name), root)
                    with open(os.path.join(dirpath, name), encoding="utf-8") as f:
                        faults.extend(faults_of(root, tree, entry, path, f.read()))
    # The manual installer shares no code with the starter.
    for dirpath, _, files in os.walk(os.path.join(root, "installer")):
        for name in sorted(files):
            if not SOURCE.search(name):
                continue
            path = os.path.relpath(os.path.join(dirpath, name), root)
            with open(os.path.join(dirpath, name), encoding="utf-8") as f:
                for kind, target in INCLUDE.findall(f.read()):
                    if kind == '"' and target.split("/")[0] in LAYERS:
                        faults.append(f"{path}: the installer includes {target}")
    for fault in faults:
        print(fault)
    if faults:
        print(f"layering: {len(faults)} wrong-way include(s)", file=sys.stderr)
        return 1
    print("layering: every include runs the right way")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
