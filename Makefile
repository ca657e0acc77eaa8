# The commands of the README. Each one installs what it needs first.
.PHONY: setup run check test bench bench-wine soak soak-long fuzz dist clean

setup:
	bash scripts/setup.sh

# Build both builds and start the viewer on the bundled sample data under Wine
# (headless: a screenshot is written instead).
run: setup
	bash scripts/build.sh native sample_data
	bash scripts/build.sh win baylith
	bash scripts/run.sh build/native build/win

# Before a commit: the layer rule, the native suites plain and sanitized, and the
# end-to-end suite under Wine 8.
check:
	bash scripts/test.sh layers native sanitize e2e-wine8

# Every test: the steps of check, fuzzing (short), the soak's known seeds, and the
# end-to-end suite and the soak again under Wine 10.
test:
	bash scripts/test.sh

bench: setup
	bash scripts/bench.sh

# The real baylith.exe under Wine, timed as a user feels it (start, drag, wheel,
# Save Snapshot, Print..), on the bundled sample data.
bench-wine: setup
	bash scripts/bench-wine.sh

# A long random mix of user actions on the real baylith.exe under Wine 8, watching
# for hangs, growth and stray files. SOAK_SECONDS (default 600) and SOAK_SEED (replay).
soak: setup
	bash scripts/build.sh native sample_data
	bash scripts/build.sh win
	SOAK_SECONDS=$${SOAK_SECONDS:-600} bash scripts/wine.sh 8 ctest --preset soak-random

# The soak for an hour (SOAK_SECONDS) on each Wine, each with a fresh seed; fails
# when either run does.
soak-long: setup
	bash scripts/build.sh native sample_data
	bash scripts/build.sh win
	export SOAK_SECONDS=$${SOAK_SECONDS:-3600}; rc=0; \
	bash scripts/wine.sh 8 ctest --preset soak-random || rc=1; \
	bash scripts/wine.sh 10 ctest --preset soak-random || rc=1; \
	exit $$rc

# Ten minutes of fuzzing each target.
fuzz: setup
	bash scripts/build.sh fuzz
	ctest --preset fuzz-long

dist: setup
	bash scripts/dist.sh

# The Debian 13 root is owned by root: a user removes it through sudo.
clean:
	rm -rf build 2>/dev/null || sudo rm -rf build
