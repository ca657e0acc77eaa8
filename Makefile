# The commands of the README. Each one installs what it needs first.
.PHONY: setup run test bench bench-wine soak soak-long fuzz dist clean

setup:
	bash scripts/setup.sh

# Build both builds and start the viewer on the bundled sample data under Wine
# (headless: a screenshot is written instead).
run: setup
	bash scripts/build.sh native sample_data
	bash scripts/build.sh win baylith
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

# The soak for an hour (SOAK_SECONDS) on each Wine, each with a fresh seed; fails
# when either run does.
soak-long: setup
	bash scripts/build.sh native sample_data
	bash scripts/build.sh win baylith baylith_soak
	bash scripts/wine10-root.sh make
	rc=0; BAYLITH_PREBUILT=1 bash scripts/soak.sh $${SOAK_SECONDS:-3600} || rc=1; \
	BAYLITH_PREBUILT=1 bash scripts/wine10-root.sh run bash scripts/soak.sh $${SOAK_SECONDS:-3600} || rc=1; \
	exit $$rc

fuzz: setup
	bash scripts/fuzz.sh --long

dist: setup
	bash scripts/dist.sh

clean:
	rm -rf build
