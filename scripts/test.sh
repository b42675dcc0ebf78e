#!/usr/bin/env bash
# Installs everything, then runs the whole test suite: the C++ unit tests (plain and
# under AddressSanitizer + UndefinedBehaviorSanitizer) and the Python tests.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh
python3 -m venv .venv
.venv/bin/pip install -q --upgrade pip
.venv/bin/pip install -q cmake ninja
# The Python tests call the test hooks, which a plain install leaves out.
.venv/bin/pip install -q -C cmake.define.VORLIN_TEST_HOOKS=ON ".[test]"

export PATH="$PWD/.venv/bin:$PATH"
VORLIN_PDFIUM_LIBRARY="$(.venv/bin/python -c 'import vorlin_reader._pdfium_path as p; print(p.find_library() or "")' 2>/dev/null || true)"
export VORLIN_PDFIUM_LIBRARY

run_cpp_tests() {  # build dir, extra CMake arguments...
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DVORLIN_BUILD_TESTS=ON "$@" >/dev/null
  cmake --build "$dir" -j2
  ctest --test-dir "$dir" --output-on-failure
}

run_cpp_tests build/cpp-tests -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_cpp_tests build/cpp-tests-sanitized -DCMAKE_BUILD_TYPE=Debug -DVORLIN_SANITIZE=ON

.venv/bin/python -m pytest -q tests
