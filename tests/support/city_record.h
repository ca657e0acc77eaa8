// A city row for tests, with every criterion field set and the rest zero.
#pragma once
#include <stdio.h>
#include <string.h>

#include "core/city_table.h"

inline CityRecord test_city(const char* name, const char* state, int32_t population, const char* structure,
                            char elected, char has_limits, int16_t adopted, int16_t amended, int8_t council_size,
                            char staggered) {
    CityRecord city;
    memset(&city, 0, sizeof city);
    snprintf(city.name, sizeof city.name, "%-13s", name);
    snprintf(city.state, sizeof city.state, "%s", state);
    city.population = population;
    snprintf(city.structure, sizeof city.structure, "%s", structure);
    city.elected = elected;
    city.has_limits = has_limits;
    city.adopted = adopted;
    city.amended = amended;
    city.council_size = council_size;
    city.staggered = staggered;
    return city;
}
