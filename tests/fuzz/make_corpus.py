#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into corpus/<target>/.

Run again after changing a seed; files found by fuzzing (crash-*, regression-*)
are kept as they are.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- terms file -------------------------------------------------------------

def record(x, y, name, state, population, structure, elected, limits, adopted, amended,
           mayor_total, mayor_consecutive, mayor_length, council_size, council_total,
           council_consecutive, council_length, staggered, max_years):
    fields = [
        f"{x:>4}", f"{y:>4}", f"{name:<13}"[:13], state, f"{population:>7}", structure,
        elected, limits, f"{adopted:>4}", f"{amended:>4}", mayor_total, mayor_consecutive,
        mayor_length, f"{council_size:>2}", council_total, council_consecutive,
        council_length, staggered, f"{max_years:>2}",
    ]
    line = ",".join(str(f) for f in fields)
    assert len(line) == 75, (len(line), line)
    return line


HEADER = "x   ,y   ,name         ,st,pop    ,struct,e,l,adop,amen,m,m,m,cs,c,c,c,s,my"
ROWS = [
    record(412, 988, "Arbor Vale", "OH", 120455, "CM-WMC", "A", "Y", 1992, 2004, 2, 2, 4, 7, 2, 2, 4, "Y", 16),
    record(2301, 215, "Pell Harbor", "TX", 48210, "MC-SMC", "D", "N", "****", "****", "U", "U", 2, 9, "U", "U", 2, "N", "1U"),
    record(1500, 700, "Quarry Gap", "CA", 3912, "CO-WMC", "M", "Y", 1990, "*   ", 3, 2, 4, 12, 3, 2, 4, "Y", 12),
    record(7, 1400, "Lowmoor", "WA", 655000, "MC-WMC", "A", "Y", 2001, 2010, 1, "U", 4, 5, 2, 1, 4, "N", " U"),
]

put("terms", "valid.csv", ("\n".join([HEADER] + ROWS) + "\n").encode())
put("terms", "crlf.csv", ("\r\n".join([HEADER] + ROWS) + "\r\n").encode())
put("terms", "no_final_newline.csv", ("\n".join([HEADER] + ROWS[:2])).encode())
put("terms", "header_only.csv", (HEADER + "\n").encode())
put("terms", "empty.csv", b"")
put("terms", "one_record_line.csv", ROWS[0].encode())
put("terms", "negative.csv",
    ("\n".join([HEADER, record(-12, "  -3", "Minus Town", "NV", "  -4200", "CM-SMC", "A", "Y",
                               "-199", "+200", "-", "+", 9, "-5", 0, 0, 0, "N", "-9")]) + "\n").encode())
many = [HEADER] + [record(20 * i, 10 * i, f"City {i:03}", "ZZ", 1000 * i, "CM-WMC", "A", "Y",
                          1990 + i % 30, 2000 + i % 20, i % 10, i % 9, i % 8, i % 99, i % 7, i % 6,
                          i % 5, "Y", i % 99) for i in range(105)]
put("terms", "105_records.csv", ("\n".join(many) + "\n").encode())
put("terms", "long_and_short_lines.csv",
    ("\n".join([HEADER, "x" * 400 + ROWS[1], "", "short", ROWS[2][:74], ROWS[3]]) + "\n").encode())
put("terms", "nul_inside.csv", (HEADER + "\n").encode() + ROWS[0][:30].encode() + b"\0" + ROWS[0][31:].encode() + b"\n")

# --- BMP --------------------------------------------------------------------

def bmp(width, height, bits=24, compression=0, offset=54, magic=b"BM", rows=None, cut=None):
    row_size = (3 * width + 3) // 4 * 4
    pixels = bytearray()
    count = rows if rows is not None else max(height, 0)
    for y in range(count):
        row = bytearray()
        for x in range(width):
            row += bytes(((x * 37 + y) & 255, (x * 11 + y * 5) & 255, (y * 29 + 3) & 255))
        row += b"\0" * (row_size - len(row))
        pixels += row
    header = magic + struct.pack("<IHHIIiiHHIIiiII", 54 + row_size * max(height, 0), 0, 0, offset, 40,
                                 width, height, 1, bits, compression, 0, 2835, 2835, 0, 0)
    data = header + bytes(pixels)
    return data[:cut] if cut is not None else data


for w in range(1, 6):
    put("bmp", f"w{w}_h2.bmp", bmp(w, 2))
put("bmp", "w4_h0.bmp", bmp(4, 0))
put("bmp", "w0_h3.bmp", bmp(0, 3))
put("bmp", "8x8.bmp", bmp(8, 8))
put("bmp", "header_only_h3.bmp", bmp(3, 3, rows=0))
put("bmp", "last_row_short.bmp", bmp(5, 3, cut=54 + 16 * 2 + 7))
put("bmp", "short_header.bmp", bmp(2, 2, cut=30))
put("bmp", "bits8.bmp", bmp(2, 2, bits=8))
put("bmp", "bits32.bmp", bmp(2, 2, bits=32))
put("bmp", "bits25.bmp", bmp(2, 2, bits=25))
put("bmp", "compression1.bmp", bmp(2, 2, compression=1))
put("bmp", "offset_1078.bmp", bmp(3, 2, offset=1078))
put("bmp", "magic_MB.bmp", bmp(2, 2, magic=b"MB"))
put("bmp", "top_down.bmp", bmp(2, -2, rows=2))
put("bmp", "negative_width.bmp", bmp(-2, 2, rows=0) + b"\0" * 16)
put("bmp", "too_wide.bmp", bmp(6145, 1, rows=0) + b"\0" * 18436)

# --- Info panel text ----------------------------------------------------------

def info(length, extra, pattern):
    return struct.pack("<HH", length, extra) + pattern


REPORT = (b"Name: Arbor Vale     State: OH\r\nPopulation: 120455\r\n"
          b"Structure: Council-Manager\r\nElected: At-large\r\n")
put("info_text", "report_lines_full.bin", info(65270, 60, REPORT))
put("info_text", "report_lines_small.bin", info(400, 40, REPORT))
put("info_text", "one_long_line.bin", info(65279, 12, b"typed text without a line end "))
put("info_text", "exact_room.bin", info(65200, 79, b"abc\r\n"))
put("info_text", "append_too_big.bin", info(300, 65535, b"line\r\n"))
put("info_text", "line_feeds_only.bin", info(65279, 1, b"\n"))
put("info_text", "carriage_returns.bin", info(64, 0, b"\r\r\n x\r"))
put("info_text", "nul_in_text.bin", info(50, 0, b"ab\r\0cd\r\n"))

# --- save path -----------------------------------------------------------------

def save(out_size, chosen, ext):
    return struct.pack("<H", out_size) + chosen + b"\0" + ext


put("save_path", "plain.bin", save(320, b"C:\\maps\\out\\view", b".bmp"))
put("save_path", "has_ext.bin", save(320, b"C:\\maps\\out\\view.bmp", b".bmp"))
put("save_path", "upper_ext.bin", save(320, b"C:\\a\\view.BMP", b".bmp"))
put("save_path", "other_ext.bin", save(320, b"D:\\notes.txt", b".bmp"))
put("save_path", "long_316.bin", save(320, b"C:\\" + b"p" * 313, b".bmp"))
put("save_path", "long_315.bin", save(320, b"C:\\" + b"p" * 312, b".txt"))
put("save_path", "no_backslash.bin", save(12, b"noslash", b".txt"))
put("save_path", "size_zero.bin", save(0, b"C:\\x", b".txt"))
put("save_path", "empty_ext.bin", save(8, b"C:\\x\\", b""))
put("save_path", "ext_only.bin", save(5, b".txt", b".txt"))
