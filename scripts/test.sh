#!/usr/bin/env bash
# Installs what is missing, then runs the whole test suite: the C++ unit tests (plain and under
# AddressSanitizer + UndefinedBehaviorSanitizer) and the Python tests, against the installed module
# and again against a sanitized build of it. Reruns reuse .venv and the build trees under build/.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

bash scripts/bootstrap.sh
if [ ! -x .venv/bin/python ]; then
  python3 -m venv .venv
  .venv/bin/pip install -q --upgrade pip
fi
export PATH="$ROOT/.venv/bin:$PATH"
# Builds in this environment (no isolation), so that repeat installs reuse build/tests.
python -c 'import tomllib
print(*tomllib.load(open("pyproject.toml", "rb"))["build-system"]["requires"], sep="\n")' |
  xargs -d '\n' pip install -q cmake ninja

mkdir -p build/logs

# The module pytest imports, with the C++ tests and benchmarks built in the same tree.
pip install -q --no-build-isolation -C build-dir=build/tests -C cmake.build-type=RelWithDebInfo \
  -C cmake.define.CMAKE_COMPILE_WARNING_AS_ERROR=ON -C cmake.define.VORLIN_TEST_HOOKS=ON \
  -C cmake.define.VORLIN_BUILD_TESTS=ON -C cmake.define.VORLIN_BUILD_BENCH=ON ".[test]"
# The optional extras' frameworks, which the integration tests run against; those tests skip if
# one cannot install.
python -c 'import tomllib
extras = tomllib.load(open("pyproject.toml", "rb"))["project"]["optional-dependencies"]
print(*extras["langchain"], *extras["llama-index"], *extras["dask"], sep="\n")' |
  xargs -d '\n' pip install -q || echo "warning: integration frameworks not installed" >&2
VORLIN_PDFIUM_LIBRARY="$(python -c 'import vorlin_reader._pdfium_path as p; print(p.find_library() or "")')"
export VORLIN_PDFIUM_LIBRARY

# Suites run in the background, each into its own log, while the next tree builds.
NAMES=() PIDS=()
start() {  # name, command...
  "${@:2}" >"build/logs/$1.log" 2>&1 &
  NAMES+=("$1") PIDS+=($!)
}
trap 'kill "${PIDS[@]}" 2>/dev/null || true' EXIT

start cpp-tests ctest --test-dir build/tests -j"$(nproc)" --no-tests=error --output-on-failure
start pytest python -m pytest -q -rfEs tests

# The sanitized tree also builds the module, which pytest then loads with the ASan runtime
# preloaded (the interpreter itself is not instrumented, so its leaks are not ours to report).
SAN=build/tests-sanitized
cmake -S . -B $SAN -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORLIN_SANITIZE=ON -DVORLIN_BUILD_PYTHON=ON \
  -DPython_EXECUTABLE="$ROOT/.venv/bin/python" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
  -DVORLIN_TEST_HOOKS=ON -DVORLIN_BUILD_TESTS=ON >/dev/null
cmake --build $SAN
rm -rf $SAN/site && mkdir -p $SAN/site && cp -r python/vorlin_reader $SAN/site/
cp $SAN/crates/vorlin-py/_native*.so $SAN/site/vorlin_reader/

start cpp-tests-sanitized env ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir $SAN -j"$(nproc)" --no-tests=error --output-on-failure
# PYTHONMALLOC=malloc lets ASan see Python objects too, so a missing reference is a use after free.
# libstdc++ is preloaded as well: ASan can intercept C++ throws only if it is there at start-up,
# and the interpreter does not link it. --capture=sys leaves a sanitizer's report on stderr, where
# the log keeps it. test_leaks watches resident memory, which ASan's quarantine inflates by design.
start pytest-sanitized env PYTHONPATH="$ROOT/$SAN/site" PYTHONMALLOC=malloc \
  LD_PRELOAD="$(g++ -print-file-name=libasan.so) $(g++ -print-file-name=libstdc++.so)" \
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 python -c '
import sys, pytest, vorlin_reader._native as native
assert native.__file__.startswith(sys.argv[1]), native.__file__
sys.exit(pytest.main(sys.argv[2:]))' "$ROOT/$SAN/site" -q -rfEs -p no:cacheprovider \
  --capture=sys --ignore=tests/test_leaks.py tests

FAILED=()
for i in "${!NAMES[@]}"; do
  status=0
  wait "${PIDS[$i]}" || status=$?
  echo "=== ${NAMES[$i]}: exit $status"
  cat "build/logs/${NAMES[$i]}.log"
  [ $status -eq 0 ] || FAILED+=("${NAMES[$i]} (exit $status)")
done
trap - EXIT
if [ ${#FAILED[@]} -gt 0 ]; then
  echo "FAILED: ${FAILED[*]}" >&2
  exit 1
fi
echo "All suites passed: ${NAMES[*]}"
