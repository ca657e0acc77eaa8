#!/usr/bin/env bash
# Configures and builds one of the builds of CMakePresets.json, each in build/KIND:
#   bash scripts/build.sh KIND [TARGET...]     (no target: the preset's)
#   native    RelWithDebInfo: the libraries, native tests, tools
#   sanitize  Debug with AddressSanitizer and UndefinedBehaviorSanitizer
#   win       the mingw-w64 cross build: baylith.exe and its test programs
#   bench     Release with the Google Benchmark suite
#   fuzz      clang with the libFuzzer targets, sanitized
# Configures only a new build or after the presets changed (the build itself
# configures again when a CMakeLists.txt changes). JOBS: parallel jobs (default 2).
# Exits non-zero when configuring or building fails. Source it for baylith_build.

baylith_build() (
    kind=$1
    shift
    cd "$(dirname "${BASH_SOURCE[0]}")/.." || return 1
    if [ ! "build/$kind/build.ninja" -nt CMakePresets.json ]; then
        cmake --preset "$kind" >/dev/null || { echo "build: configuring build/$kind failed" >&2; return 1; }
    fi
    cmake --build --preset "$kind" -j"${JOBS:-2}" ${1+--target "$@"} ||
        { echo "build: building build/$kind failed" >&2; return 1; }
)

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    [ $# -ge 1 ] || { echo "usage: $0 native|sanitize|win|bench|fuzz [TARGET...]" >&2; exit 2; }
    baylith_build "$@"
fi
