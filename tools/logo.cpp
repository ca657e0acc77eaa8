#include "tools/logo.h"

#include <string.h>

namespace {

// Grey levels are palette indices: 0 black ... 15 white.
enum {
    BLACK = 0,
    TEXT_GREY = 5,
    MARKER_SHADOW = 7,
    RULE_GREY = 8,
    LETTER_SHADOW = 10,
    GRID_GREY = 11,
    TILE_GREY = 14,
    WHITE = 15,
};

enum { GLYPH_WIDTH = 5, GLYPH_HEIGHT = 9 };

struct Glyph {
    char letter;
    const char* rows[GLYPH_HEIGHT];
};

// Rows 0-6 stand on the baseline, rows 7-8 are descenders.
const Glyph glyphs[] = {
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####.", ".....", "....."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####", ".....", "....."}},
    {'y', {".....", ".....", "#...#", "#...#", "#...#", ".####", "....#", "#...#", ".###."}},
    {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###.", ".....", "....."}},
    {'i', {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###.", ".....", "....."}},
    {'t', {".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##.", ".....", "....."}},
    {'h', {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#", ".....", "....."}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#", ".....", "....."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", ".....", "....."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#....", ".....", "....."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#..", ".....", "....."}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###.", ".....", "....."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####", ".....", "....."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#", ".....", "....."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#", ".....", "....."}},
};

// Canvas rows run top-down here; the file stores them bottom-up.
unsigned char canvas[LOGO_HEIGHT][LOGO_WIDTH];

void fill_rect(int left, int top, int width, int height, unsigned char level) {
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            if (x >= 0 && x < LOGO_WIDTH && y >= 0 && y < LOGO_HEIGHT) canvas[y][x] = level;
}

const Glyph* find_glyph(char letter) {
    for (const Glyph& glyph : glyphs)
        if (glyph.letter == letter) return &glyph;
    return nullptr;   // a blank
}

void draw_text(const char* text, int left, int top, int scale, unsigned char level) {
    for (int i = 0; text[i] != '\0'; ++i) {
        const Glyph* glyph = find_glyph(text[i]);
        int cell_left = left + i * (GLYPH_WIDTH + 1) * scale;
        if (!glyph) continue;
        for (int row = 0; row < GLYPH_HEIGHT; ++row)
            for (int column = 0; column < GLYPH_WIDTH; ++column)
                if (glyph->rows[row][column] == '#')
                    fill_rect(cell_left + column * scale, top + row * scale, scale, scale, level);
    }
}

int text_width(const char* text, int scale) {
    int length = (int)strlen(text);
    return length == 0 ? 0 : (length * (GLYPH_WIDTH + 1) - 1) * scale;
}

// A downward-pointing triangle, the shape of the map's city markers.
void draw_marker(int centre_x, int top, int half_width, int height, unsigned char level) {
    for (int row = 0; row < height; ++row) {
        int half = half_width - (half_width * row) / height;
        fill_rect(centre_x - half, top + row, 2 * half + 1, 1, level);
    }
}

// A framed map tile with a grid and a few markers.
void draw_map_motif() {
    const int left = 6, top = 12, size = 91;
    fill_rect(left, top, size, size, BLACK);
    fill_rect(left + 2, top + 2, size - 4, size - 4, TILE_GREY);
    for (int offset = 15; offset < size - 2; offset += 15) {
        fill_rect(left + offset, top + 2, 1, size - 4, GRID_GREY);
        fill_rect(left + 2, top + offset, size - 4, 1, GRID_GREY);
    }
    draw_marker(left + 60, top + 19, 7, 12, MARKER_SHADOW);
    draw_marker(left + 58, top + 17, 7, 12, BLACK);
    draw_marker(left + 26, top + 60, 7, 12, MARKER_SHADOW);
    draw_marker(left + 24, top + 58, 7, 12, BLACK);
    draw_marker(left + 48, top + 40, 12, 22, MARKER_SHADOW);
    draw_marker(left + 45, top + 37, 12, 22, BLACK);
}

void put16(unsigned char* at, unsigned value) {
    at[0] = (unsigned char)(value & 0xFF);
    at[1] = (unsigned char)((value >> 8) & 0xFF);
}

void put32(unsigned char* at, unsigned long value) {
    for (int i = 0; i < 4; ++i) at[i] = (unsigned char)((value >> (8 * i)) & 0xFF);
}

}  // namespace

size_t make_logo_bmp(unsigned char* out, size_t capacity) {
    if (capacity < (size_t)LOGO_FILE_BYTES) return 0;

    fill_rect(0, 0, LOGO_WIDTH, LOGO_HEIGHT, WHITE);
    draw_map_motif();
    const char* word = "Baylith";
    const int word_left = 108, word_top = 16, word_scale = 5;
    draw_text(word, word_left + 3, word_top + 3, word_scale, LETTER_SHADOW);
    draw_text(word, word_left, word_top, word_scale, BLACK);
    const int word_width = text_width(word, word_scale);
    fill_rect(word_left, 72, word_width, 2, RULE_GREY);
    const char* subtitle = "MAP VIEWER";
    const int subtitle_scale = 2;
    draw_text(subtitle, word_left + (word_width - text_width(subtitle, subtitle_scale)) / 2, 82,
              subtitle_scale, TEXT_GREY);

    memset(out, 0, LOGO_FILE_BYTES);
    out[0] = 'B';
    out[1] = 'M';
    put32(out + 2, LOGO_FILE_BYTES);
    put32(out + 10, LOGO_PIXEL_OFFSET);
    put32(out + 14, 40);
    put32(out + 18, LOGO_WIDTH);
    put32(out + 22, LOGO_HEIGHT);
    put16(out + 26, 1);    // planes
    put16(out + 28, 4);    // bits per pixel
    put32(out + 30, 0);    // BI_RGB
    put32(out + 34, (unsigned long)LOGO_ROW_BYTES * LOGO_HEIGHT);
    put32(out + 38, 2835);  // 72 dpi
    put32(out + 42, 2835);
    put32(out + 46, 16);
    put32(out + 50, 16);
    for (int level = 0; level < 16; ++level) {
        unsigned char* entry = out + 54 + level * 4;
        entry[0] = entry[1] = entry[2] = (unsigned char)(level * 17);
    }
    for (int y = 0; y < LOGO_HEIGHT; ++y) {
        unsigned char* row = out + LOGO_PIXEL_OFFSET + (size_t)(LOGO_HEIGHT - 1 - y) * LOGO_ROW_BYTES;
        for (int x = 0; x < LOGO_WIDTH; ++x) {
            unsigned char level = canvas[y][x];
            row[x / 2] |= (x % 2 == 0) ? (unsigned char)(level << 4) : level;
        }
    }
    return LOGO_FILE_BYTES;
}
