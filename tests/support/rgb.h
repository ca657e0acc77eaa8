// A pixel's colour, one record for the tests, the benchmarks, the end-to-end
// driver and the sample data tools.
#pragma once
#include <stdint.h>
#include <stdlib.h>

#include <ostream>

struct Rgb {
    uint8_t r, g, b;
};

inline bool operator==(const Rgb& a, const Rgb& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

inline std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "(" << (int)colour.r << ", " << (int)colour.g << ", " << (int)colour.b << ")";
}

// True when every channel differs by at most tolerance.
inline bool colour_near(Rgb a, Rgb b, int tolerance) {
    return abs(a.r - b.r) <= tolerance && abs(a.g - b.g) <= tolerance && abs(a.b - b.b) <= tolerance;
}
