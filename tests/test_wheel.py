"""The built module must load on any Linux with a C++ runtime: it may need no shared library but the
C and C++ runtimes, and it exports only its entry points, so that the libraries linked into it never
clash with other extensions' copies of them."""

import re
import subprocess

import vorlin_reader._native as native

RUNTIMES = re.compile(
    r"(libc|libm|libdl|libpthread|librt|libstdc\+\+|libgcc_s|ld-linux[-\w]*)\.so\.\d+")
SANITIZERS = re.compile(r"lib(asan|ubsan)\.so\.\d+")  # the sanitized test build's own runtimes


def readelf(option):
    return subprocess.run(["readelf", "-W", option, native.__file__], check=True,
                          capture_output=True, text=True).stdout


def test_module_needs_only_the_c_and_cpp_runtimes():
    needed = re.findall(r"\(NEEDED\)\s+Shared library: \[(.+)\]", readelf("--dynamic"))
    assert "libc.so.6" in needed
    assert [name for name in needed
            if not RUNTIMES.fullmatch(name) and not SANITIZERS.fullmatch(name)] == []


def test_module_exports_only_its_entry_points():
    # Columns: Num, Value, Size, Type, Bind, Vis, Ndx, Name; defined symbols have a section index.
    rows = [line.split() for line in readelf("--dyn-syms").splitlines()]
    exported = {row[7].split("@")[0] for row in rows
                if len(row) == 8 and row[4] in ("GLOBAL", "WEAK") and row[6] != "UND"}
    hooks = {name for name in exported if name.startswith("vorlin_testing_")}
    assert exported - hooks == {"PyInit__native"}
