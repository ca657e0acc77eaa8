#!/usr/bin/env bash
# Packs the Windows program with the sample data into build/baylith-1.0-win64.zip:
#   baylith-1.0/baylith.exe, baylith-1.0/data/..., baylith-1.0/README.txt
#   bash scripts/dist.sh
# Configures and builds whatever of build/native and build/win is out of date.
set -eu
repo_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
native_dir="$repo_dir/build/native"
win_dir="$repo_dir/build/win"
zip_path="$repo_dir/build/baylith-1.0-win64.zip"

source "$repo_dir/scripts/build.sh"
baylith_build native sample_data
baylith_build win baylith

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
package="$stage/baylith-1.0"
mkdir -p "$package"
cp "$win_dir/baylith.exe" "$package/"
cp -R "$native_dir/sample/data" "$package/data"
# Windows line ends: the reader opens this in Notepad.
sed 's/$/\r/' > "$package/README.txt" <<'EOF'
Baylith 1.0 - a map viewer for a table of cities and their local government

Start: unzip this folder anywhere and double-click baylith.exe. It needs no
installation and no extra files; it reads everything from the data folder next
to it (the folder it is started from).

Using it:
- Right mouse button drag: pan. Mouse wheel: zoom.
- Double-click a marker: select the city and add its report to the Info panel.
- Query panel: narrow the cities shown; pick a city by name from the list.
- Display menu: the number that colours the markers.
- File menu: save the view as a BMP file, print it, quit.

The data folder:
- data\term.csv      one fixed-column record per city (100 cities of the
                     contiguous United States, population of 2006)
- data\lolli.bmp     the sixteen marker colours; pure blue is transparent
- data\tiles\l4\...  the base map, 6 x 3 tiles of 512 x 512 pixels

The government and term-limit columns of term.csv are illustrative, not facts.
Map outlines: Natural Earth (public domain). City names, places and populations:
the us.cities table of the R package "maps" (GPL-2).
EOF

mkdir -p "$(dirname "$zip_path")"
rm -f "$zip_path"
# Fixed file times and order, so the same inputs give the same archive.
export TZ=UTC
find "$package" -exec touch -h -d '2026-01-01 00:00:00' {} +
(cd "$stage" && find baylith-1.0 | LC_ALL=C sort | zip -q -X -D "$zip_path" -@)
echo "$zip_path"
