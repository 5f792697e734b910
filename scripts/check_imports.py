#!/usr/bin/env python3
"""Checks that Windows programs import at start only known DLLs.

  check_imports.py PROGRAM.exe...

Windows takes a known DLL from the system folder whatever lies beside the
program; any other library a program imports statically is searched in the
program's own folder first, before the program can do anything about it. The
starter and the manual installer run from downloads and temporary folders, so
every other library is delay-imported (cmake/delay_imports.cmake) and loaded
from the system folder.

Exit 0 when every program imports only the libraries below, 1 otherwise, with
one line per unexpected library (or unreadable program).
"""
import re
import shutil
import subprocess
import sys

# Known DLLs on Windows 7 as well as on Windows 10 and 11 that the programs
# use. Libraries that were known DLLs only on older systems (wininet, urlmon)
# are not: a newer Windows searches them beside the program.
ALLOWED = {
    "kernel32.dll",  # every program; the loader itself
    "user32.dll", "gdi32.dll",  # windows and drawing
    "advapi32.dll",  # registry
    "shell32.dll", "shlwapi.dll",  # shell folders, shortcuts, path helpers
    "ole32.dll", "oleaut32.dll",  # COM: the web control, shortcuts
    "rpcrt4.dll",  # UuidCreate for session ids
    "msvcrt.dll",  # the C runtime of the mingw toolchain
}

DLL_NAME = re.compile(r"^\s*DLL Name:\s*(\S+)\s*$", re.M)


def objdump():
    for name in ("x86_64-w64-mingw32-objdump", "i686-w64-mingw32-objdump", "objdump"):
        path = shutil.which(name)
        if path:
            return path
    return None


def imports_of(tool, program):
    """The names of the libraries in the program's import table (lower case),
    or None when objdump cannot read it."""
    r = subprocess.run([tool, "-p", program], capture_output=True, text=True)
    if r.returncode != 0:
        return None
    return {name.lower() for name in DLL_NAME.findall(r.stdout)}


def faults_of(program, imports):
    if imports is None or "kernel32.dll" not in imports:
        # Every Windows program imports kernel32; without it the table was
        # not read, and an empty list must not pass.
        return ["%s: no import table read" % program]
    return ["%s: imports %s, which is not a known DLL" % (program, name)
            for name in sorted(imports - ALLOWED)]


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    tool = objdump()
    if tool is None:
        print("check_imports: no objdump found", file=sys.stderr)
        return 2
    faults = []
    for program in argv[1:]:
        imports = imports_of(tool, program)
        faults.extend(faults_of(program, imports))
        if imports:
            print("%s: %s" % (program, " ".join(sorted(imports))))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
