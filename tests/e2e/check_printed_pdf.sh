#!/bin/bash
# Host-side look at the pages the Print cases produced: every PDF in
# BAYLITH_PDF_DIR must have one page, and the newest be white at its corners and with the map in
# its middle: the view's centre lies on the tile of row 1, column 2, coloured
# 110, 120, 120 by the test data. The picture must stand upright: down the
# page's middle column, the top row of tiles (row 2, 110, 200, 140) shows at
# 14 % of the picture's height from its top (world y 1400 of the start view,
# which spans y -244 to 1676) and the bottom row (row 0, 110, 40, 100) at 66 %
# (world y 400, clear of Dunmere's marker). Exit 77 (skipped) when there is no
# PDF folder.
if [ -z "${BAYLITH_PDF_DIR:-}" ] || [ ! -d "$BAYLITH_PDF_DIR" ]; then
    echo "BAYLITH_PDF_DIR not set: skipped"
    exit 77
fi
pdf=$(ls -t "$BAYLITH_PDF_DIR"/*.pdf 2>/dev/null | head -n 1)
if [ -z "$pdf" ]; then
    echo "no PDF in $BAYLITH_PDF_DIR"
    exit 1
fi
for each in "$BAYLITH_PDF_DIR"/*.pdf; do
    pages=$(pdfinfo "$each" | sed -n 's/^Pages: *//p')
    echo "$each: $pages page(s)"
    [ "$pages" = "1" ] || exit 1
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
pdftoppm -r 20 -png -singlefile "$pdf" "$scratch/page" || exit 1
size=$(identify -format '%w %h' "$scratch/page.png")
read -r width height <<<"$size"
pixel() { convert "$scratch/page.png" -format "%[fx:round(255*p{$1,$2}.r)] %[fx:round(255*p{$1,$2}.g)] %[fx:round(255*p{$1,$2}.b)]" info:; }
near() {  # near "r g b" r g b: every channel within 4
    local -a seen=($1)
    [ $(( (seen[0]-$2)*(seen[0]-$2) <= 16 && (seen[1]-$3)*(seen[1]-$3) <= 16 && (seen[2]-$4)*(seen[2]-$4) <= 16 )) = 1 ]
}
corner=$(pixel 2 2)
middle=$(pixel $((width / 2)) $((height / 2)))
echo "page ${width}x${height}: corner $corner, middle $middle"
near "$corner" 255 255 255 || { echo "corner is not white"; exit 1; }
near "$middle" 110 120 120 || { echo "the middle of the page is not the map's middle tile"; exit 1; }
# The picture's first and last non-white rows down the middle column.
rows=$(convert "$scratch/page.png" -crop "1x${height}+$((width / 2))+0" -depth 8 txt:- |
       sed -n 's/^0,\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' |
       awk '$2 < 250 || $3 < 250 || $4 < 250 { if (first == "") first = $1; last = $1 } END { print first, last }')
read -r picture_top picture_bottom <<<"$rows"
[ -n "$picture_top" ] || { echo "no picture down the middle of the page"; exit 1; }
span=$((picture_bottom - picture_top + 1))
top_row=$(pixel $((width / 2)) $((picture_top + span * 14 / 100)))
bottom_row=$(pixel $((width / 2)) $((picture_top + span * 66 / 100)))
echo "picture rows $picture_top to $picture_bottom: near its top $top_row, near its bottom $bottom_row"
near "$top_row" 110 200 140 || { echo "the map's top row is not at the top of the picture"; exit 1; }
near "$bottom_row" 110 40 100 || { echo "the map's bottom row is not at the bottom of the picture"; exit 1; }
exit 0
