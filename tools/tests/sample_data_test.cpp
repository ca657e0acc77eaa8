// The sample data set: projection, determinism, the terms file as the viewer reads
// it, and the colours of tiles and marker strip.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "core/city_table.h"
#include "core/image.h"
#include "core/tests/temp_dir.h"
#include "tools/sample_data.h"

namespace {

std::vector<std::string> data_files() {
    std::vector<std::string> files = {"data/term.csv", "data/lolli.bmp"};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 6; ++column) {
            char path[64];
            snprintf(path, sizeof path, "data/tiles/l4/%03d/4%03d%03d.bmp", row, row, column);
            files.push_back(path);
        }
    }
    return files;
}

class SampleData : public ::testing::Test {
protected:
    static std::string out_dir;
    static ShapeSet* states;
    static int32_t colour_of_state[SHAPE_FEATURE_CAPACITY];

    // ctest runs every test in its own process: the set is generated once per build
    // of this program (keyed by its path and modification time) and shared through a
    // folder that appears by an atomic rename, so parallel runs never see half of it.
    static void SetUpTestSuite() {
        const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
        const auto stamp = std::filesystem::last_write_time(self).time_since_epoch().count();
        uint32_t key = 2166136261u;
        for (char c : self.string() + std::to_string(stamp)) key = (key ^ (uint8_t)c) * 16777619u;
        out_dir = ::testing::TempDir() + "baylith-sample-" + std::to_string(key);
        if (!std::filesystem::exists(out_dir + "/complete")) {
            const std::string scratch = out_dir + ".part" + std::to_string(getpid());
            std::filesystem::remove_all(scratch);
            ASSERT_EQ(1, make_sample_data(SAMPLE_SOURCE_DIR, scratch.c_str(), 0, 2));
            std::ofstream(scratch + "/complete") << "done\n";
            std::error_code taken;
            std::filesystem::rename(scratch, out_dir, taken);  // another run may have won
            std::filesystem::remove_all(scratch);
        }
        states = new ShapeSet();
        ASSERT_EQ(1, read_shape_file(SAMPLE_SOURCE_DIR "/us-states.txt", states));
        ASSERT_EQ(1, colour_states(states, colour_of_state));
    }
    static void TearDownTestSuite() { delete states; }

    static int state_index(const char* code) {
        for (int i = 0; i < states->feature_count; ++i) {
            if (strcmp(states->features[i].code, code) == 0) return i;
        }
        return -1;
    }

    // The colour of the map at a geographic place, read back from its tile file.
    static Rgb map_colour_at_world(int x, int y) {
        char path[1024];
        const int row = y / 512, column = x / 512;
        snprintf(path, sizeof path, "%s/data/tiles/l4/%03d/4%03d%03d.bmp", out_dir.c_str(), row, row, column);
        Image image = {0, 0, 0, 0};
        Rgb colour = {0, 0, 0};
        if (!read_bmp(path, &image)) {
            ADD_FAILURE() << "cannot read " << path;
            return colour;
        }
        const uint8_t* p = image.pixels + ((size_t)(y % 512) * 512 + (x % 512)) * 3;
        colour = {p[0], p[1], p[2]};
        destroy_image(&image);
        return colour;
    }
    static Rgb map_colour_at(double longitude, double latitude) {
        MapPoint p = project_albers(longitude, latitude);
        return map_colour_at_world((int)p.x, (int)p.y);
    }
};

std::string SampleData::out_dir;
ShapeSet* SampleData::states;
int32_t SampleData::colour_of_state[SHAPE_FEATURE_CAPACITY];

void expect_colour(Rgb expected, Rgb actual, const char* where) { EXPECT_EQ(expected, actual) << where; }

TEST(Projection, MatchesTheReferencePoints) {
    struct Case {
        double longitude, latitude, x, y;
    } cases[] = {
        {-96, 37.5, 1340.58, 660.82},       {-73.94, 40.67, 2215.74, 933.19},
        {-118.41, 34.11, 369.46, 593.76},   {-80.21, 25.78, 2101.39, 98.52},
        {-122.35, 47.62, 400.76, 1333.19},
    };
    for (const Case& c : cases) {
        MapPoint p = project_albers(c.longitude, c.latitude);
        EXPECT_NEAR(c.x, p.x, 0.005) << c.longitude << " " << c.latitude;
        EXPECT_NEAR(c.y, p.y, 0.005) << c.longitude << " " << c.latitude;
    }
}

// Every sample city keeps a name of its own in the Query panel's 13 columns: a
// plain cut would make "San Bernardino" and "San Bernardo..." alike, or end a name
// on a lone letter.
TEST(CityNames, EverySampleCityFitsThirteenColumnsUnderANameOfItsOwn) {
    SampleCity cities[SAMPLE_CITY_CAPACITY];
    ASSERT_EQ(100, read_city_file(SAMPLE_SOURCE_DIR "/us-cities.tsv", cities));
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        char fitted[14];
        fit_city_name(cities[i].name, fitted);
        const size_t length = strlen(fitted);
        EXPECT_LE(length, 13u) << cities[i].name;
        EXPECT_TRUE(seen.insert(std::string(fitted) + cities[i].state).second) << fitted;
        // No word cut to a single letter at the end ("Colorado S").
        EXPECT_FALSE(length >= 2 && fitted[length - 2] == ' ') << cities[i].name << " -> " << fitted;
    }
    char fitted[14];
    fit_city_name("A Very Long Unknown Name", fitted);  // not in the table: cut at 13
    EXPECT_STREQ("A Very Long U", fitted);
}

TEST_F(SampleData, WritesTheTermsFileTheStripAndEighteenTiles) {
    int files = 0;
    for (auto& entry : std::filesystem::recursive_directory_iterator(out_dir)) {
        if (entry.is_regular_file()) ++files;
    }
    EXPECT_EQ(21, files);  // with the completion mark
    for (const std::string& name : data_files()) {
        EXPECT_TRUE(std::filesystem::is_regular_file(out_dir + "/" + name)) << name;
    }
}

TEST_F(SampleData, GeneratingAgainGivesTheSameBytes) {
    // One row of tiles is enough to catch any state carried between runs and keeps
    // the sanitizer build quick.
    const std::string second = out_dir + ".again" + std::to_string(getpid());
    std::filesystem::remove_all(second);
    ASSERT_EQ(1, make_sample_data(SAMPLE_SOURCE_DIR, second.c_str(), 1, 1));
    int compared = 0;
    for (const std::string& name : data_files()) {
        if (!std::filesystem::exists(second + "/" + name)) continue;
        const std::string a = read_bytes(out_dir + "/" + name);
        const std::string b = read_bytes(second + "/" + name);
        ASSERT_FALSE(a.empty()) << name;
        EXPECT_TRUE(a == b) << name;
        ++compared;
    }
    EXPECT_EQ(8, compared);
    std::filesystem::remove_all(second);
}

TEST_F(SampleData, PicturesAre24BitOfTheRightSize) {
    EXPECT_EQ(54u + 512u * 512u * 3u, read_bytes(out_dir + "/data/tiles/l4/002/4002005.bmp").size());
    const std::string strip = read_bytes(out_dir + "/data/lolli.bmp");
    ASSERT_EQ(54u + 512u * 32u * 3u, strip.size());
    EXPECT_EQ('B', strip[0]);
    EXPECT_EQ('M', strip[1]);
    EXPECT_EQ(24, strip[28]);
}

TEST_F(SampleData, TermsFileLoadsIntoTheCityTable) {
    const std::string path = out_dir + "/data/term.csv";
    ASSERT_EQ(1, load_terms_file_from(path.c_str()));
    ASSERT_EQ(100, city_table.count);

    SampleCity cities[SAMPLE_CITY_CAPACITY];
    ASSERT_EQ(100, read_city_file(SAMPLE_SOURCE_DIR "/us-cities.tsv", cities));
    const char* structures[] = {"CO-WMC", "CM-SMC", "CM-WMC", "MC-SMC", "MC-WMC"};
    int with_limits = 0;
    for (int i = 0; i < 100; ++i) {
        const CityRecord& row = city_table.rows[i];
        const MapPoint place = project_albers(cities[i].longitude, cities[i].latitude);
        EXPECT_NEAR(place.x, row.map_x, 0.5) << i;
        EXPECT_NEAR(place.y, row.map_y, 0.5) << i;
        EXPECT_EQ(cities[i].population, row.population) << i;
        EXPECT_EQ(std::string(cities[i].state), row.state) << i;
        EXPECT_EQ(13u, strlen(row.name));

        bool known_structure = false;
        for (const char* s : structures) known_structure |= strcmp(s, row.structure) == 0;
        EXPECT_TRUE(known_structure) << row.structure;
        EXPECT_NE(nullptr, strchr("ADM", row.elected)) << i;
        EXPECT_NE(nullptr, strchr("YN", row.staggered)) << i;
        EXPECT_GE(row.mayor_term_length, 2);
        EXPECT_LE(row.mayor_term_length, 4);
        EXPECT_GE(row.council_term_length, 2);
        EXPECT_LE(row.council_term_length, 4);
        EXPECT_GE(row.council_size, 5);
        EXPECT_LE(row.council_size, 51);
        if (row.has_limits == 'N') {
            EXPECT_EQ(0, row.adopted);
            EXPECT_EQ(0, row.amended);
            EXPECT_EQ(0, row.mayor_total_terms + row.mayor_consecutive_terms + row.council_total_terms +
                             row.council_consecutive_terms + row.max_years);
        } else {
            ASSERT_EQ('Y', row.has_limits);
            ++with_limits;
            EXPECT_GE(row.adopted, 1950);
            EXPECT_LE(row.adopted, 2009);
            if (row.amended != 0) {
                EXPECT_GE(row.amended, 1980);
                EXPECT_LE(row.amended, 2009);
                EXPECT_GT(row.amended, row.adopted);
            }
            EXPECT_GE(row.mayor_consecutive_terms, 2);
            EXPECT_GE(row.council_consecutive_terms, 2);
            if (row.mayor_total_terms != 0) {
                EXPECT_GE(row.mayor_total_terms, row.mayor_consecutive_terms);
            }
            if (row.council_total_terms != 0) {
                EXPECT_GE(row.council_total_terms, row.council_consecutive_terms);
            }
            EXPECT_EQ(row.council_consecutive_terms * row.council_term_length, row.max_years);
        }
        // Every value a marker can show has its own cell in the strip.
        EXPECT_LE(row.max_years, 15);
    }
    EXPECT_GT(with_limits, 25);
    EXPECT_LT(with_limits, 75);
    EXPECT_STREQ("New York     ", city_table.rows[0].name);
    EXPECT_NE(std::string::npos, read_bytes(path).find("illustrative, not facts"));  // in the header
}

TEST_F(SampleData, NeighbouringStatesNeverShareAColour) {
    const int ks = state_index("KS"), mo = state_index("MO"), co = state_index("CO");
    const int az = state_index("AZ"), ut = state_index("UT"), nm = state_index("NM");
    const int tx = state_index("TX"), mi = state_index("MI");
    ASSERT_EQ(49, states->feature_count);
    EXPECT_TRUE(features_adjacent(states, ks, mo));
    EXPECT_TRUE(features_adjacent(states, ks, co));
    EXPECT_TRUE(features_adjacent(states, az, ut));
    EXPECT_FALSE(features_adjacent(states, az, co));  // the Four Corners touch in a point
    EXPECT_FALSE(features_adjacent(states, ut, nm));
    EXPECT_FALSE(features_adjacent(states, tx, mi));
    for (int a = 0; a < states->feature_count; ++a) {
        for (int b = a + 1; b < states->feature_count; ++b) {
            if (features_adjacent(states, a, b)) {
                EXPECT_NE(colour_of_state[a], colour_of_state[b])
                    << states->features[a].code << " " << states->features[b].code;
            }
        }
    }
}

TEST_F(SampleData, TilesShowWaterLandAndStatesInTheirColours) {
    expect_colour(WATER_COLOUR, map_colour_at(-70.0, 35.0), "Atlantic");
    expect_colour(WATER_COLOUR, map_colour_at(-87.5, 47.7), "Lake Superior");
    expect_colour(WATER_COLOUR, map_colour_at(-125.0, 40.0), "Pacific");
    expect_colour(NEIGHBOUR_LAND_COLOUR, map_colour_at(-102.0, 26.0), "Mexico");
    expect_colour(NEIGHBOUR_LAND_COLOUR, map_colour_at(-105.0, 50.0), "Canada");
    expect_colour(STATE_PALETTE[colour_of_state[state_index("KS")]], map_colour_at(-98.5, 38.5), "Kansas");
    expect_colour(STATE_PALETTE[colour_of_state[state_index("TX")]], map_colour_at(-99.0, 31.0), "Texas");
    expect_colour(STATE_PALETTE[colour_of_state[state_index("FL")]], map_colour_at(-81.5, 28.0), "Florida");
    // Upright tiles, first row at the bottom: land just inland of the south-west
    // tip of Florida, water just south of it.
    expect_colour(STATE_PALETTE[colour_of_state[state_index("FL")]], map_colour_at(-80.6, 26.2), "Everglades");
    expect_colour(WATER_COLOUR, map_colour_at(-80.6, 24.3), "Florida Straits");
    // The tiles' parts beyond the 2634 x 1432 map are open water.
    expect_colour(WATER_COLOUR, map_colour_at_world(2700, 100), "east of the map");
    expect_colour(WATER_COLOUR, map_colour_at_world(1300, 1440), "north of the map");
    expect_colour(WATER_COLOUR, map_colour_at_world(3071, 1535), "top right corner");
}

TEST(MarkerStrip, SixteenUprightTrianglesOnPureBlue) {
    std::vector<uint8_t> pixels(STRIP_WIDTH * STRIP_HEIGHT * 3);
    render_marker_strip(pixels.data());
    auto at = [&](int x, int y) {
        const uint8_t* p = &pixels[((size_t)y * STRIP_WIDTH + x) * 3];
        return Rgb{p[0], p[1], p[2]};
    };
    auto is_key = [](Rgb c) { return c.r == 0 && c.g == 0 && c.b == 255; };
    for (int cell = 0; cell < STRIP_CELL_COUNT; ++cell) {
        for (int y = 0; y < STRIP_HEIGHT; ++y) {
            for (int x = 0; x < STRIP_CELL_SIZE; ++x) {
                // Pixel centre against the triangle with its tip at (16, 0) and its
                // upper edge along y = 32: inside when |dx| <= dy / 2.
                const double dx = x + 0.5 - 16.0, dy = y + 0.5;
                const double half_width = dy / 2.0;
                const Rgb c = at(cell * STRIP_CELL_SIZE + x, y);
                if ((dx < 0 ? -dx : dx) > half_width) {
                    EXPECT_TRUE(is_key(c)) << "cell " << cell << " at " << x << "," << y;
                } else if ((dx < 0 ? -dx : dx) < half_width - 2.0 && dy > 4.0 && dy < 30.0) {
                    EXPECT_FALSE(is_key(c)) << "cell " << cell << " at " << x << "," << y;
                }
            }
        }
        // The fill, in the upper middle of the triangle, and the dark outline near the tip.
        const Rgb fill = at(cell * STRIP_CELL_SIZE + 16, 22);
        expect_colour(marker_cell_colour(cell), fill, "fill");
        const Rgb tip = at(cell * STRIP_CELL_SIZE + 16, 3);
        EXPECT_LT(tip.r + tip.g + tip.b, 200) << "cell " << cell;
        EXPECT_TRUE(is_key(at(cell * STRIP_CELL_SIZE + 16, 0))) << "cell " << cell;
    }
    const Rgb none = marker_cell_colour(0);
    EXPECT_EQ(none.r, none.g);
    EXPECT_EQ(none.g, none.b);
    // The ramp gets brighter from cell 1 to cell 15 and never uses the key colour.
    int previous = -1;
    for (int cell = 1; cell < STRIP_CELL_COUNT; ++cell) {
        const Rgb c = marker_cell_colour(cell);
        const int lightness = 2 * c.r + 5 * c.g + c.b;
        EXPECT_GT(lightness, previous) << "cell " << cell;
        previous = lightness;
        EXPECT_FALSE(is_key(c));
    }
}

}  // namespace
