# The commands of the README. Each one installs what it needs first.
.PHONY: setup run test bench bench-wine soak fuzz dist clean

JOBS ?= $(shell nproc 2>/dev/null || echo 2)

setup:
	bash scripts/setup.sh

# Build both builds and start the viewer on the bundled sample data under Wine
# (headless: a screenshot is written instead).
run: setup
	cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build build/native -j$(JOBS) --target sample_data
	cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build build/win -j$(JOBS) --target baylith
	bash scripts/run.sh build/native build/win

# Every test: native (plain and sanitized), fuzzing (short), end to end under Wine.
test:
	bash scripts/test.sh

bench: setup
	bash scripts/bench.sh

# The real baylith.exe under Wine, timed as a user feels it (start, drag, wheel,
# Save Snapshot, Print..), on the bundled sample data.
bench-wine: setup
	bash scripts/bench-wine.sh

# A long random mix of user actions on the real baylith.exe under Wine, watching for
# hangs, growth and stray files. SOAK_SECONDS (default 600) and SOAK_SEED (replay).
soak: setup
	bash scripts/soak.sh $${SOAK_SECONDS:-600}

fuzz: setup
	bash scripts/fuzz.sh --long

dist: setup
	bash scripts/dist.sh

clean:
	rm -rf build
