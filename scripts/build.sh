#!/usr/bin/env bash
# Configures and builds one of the project's builds, each in its folder under build/:
#   bash scripts/build.sh KIND [TARGET...]     (no target: everything)
#   native    build/native    RelWithDebInfo: the libraries, native tests, tools
#   sanitize  build/sanitize  Debug with AddressSanitizer and UndefinedBehaviorSanitizer
#   win       build/win       the mingw-w64 cross build: baylith.exe and its test programs
#   bench     build/bench     Release with the Google Benchmark suite
#   fuzz      build/fuzz      clang with the libFuzzer targets, sanitized
# Exits non-zero when configuring or building fails. Source it for baylith_build.

baylith_build() {
    local kind=$1
    shift
    local repo
    repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    local jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
    local dir="$repo/build/$kind"
    local -a options=(-G Ninja)
    local -a compilers=()
    case "$kind" in
        native) options+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
        sanitize) options+=(-DCMAKE_BUILD_TYPE=Debug -DBAYLITH_SANITIZE=ON) ;;
        win) options+=(-DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release) ;;
        bench) options+=(-DCMAKE_BUILD_TYPE=Release -DBAYLITH_BENCH=ON -DBUILD_TESTING=OFF) ;;
        fuzz)
            options+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DBAYLITH_FUZZ=ON -DBAYLITH_SANITIZE=ON -DBUILD_TESTING=OFF)
            compilers=(CC=clang CXX=clang++)
            ;;
        *) echo "build: unknown build '$kind' (native, sanitize, win, bench, fuzz)" >&2; return 2 ;;
    esac
    env "${compilers[@]}" cmake -S "$repo" -B "$dir" "${options[@]}" >/dev/null || {
        echo "build: configuring $dir failed" >&2
        return 1
    }
    local -a targets=()
    local target
    for target in "$@"; do targets+=(--target "$target"); done
    cmake --build "$dir" -j"$jobs" "${targets[@]}" || {
        echo "build: building $dir failed" >&2
        return 1
    }
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    if [ $# -lt 1 ]; then
        echo "usage: $0 native|sanitize|win|bench|fuzz [TARGET...]" >&2
        exit 2
    fi
    baylith_build "$@"
fi
