// Shared by the fuzz targets: scratch files and checks that stop the run.
#pragma once
#include <stddef.h>
#include <stdint.h>

// A fixed path per process and slot (0 or 1), removed at exit.
const char* fuzz_scratch_path(int which, const char* suffix);

// Writes the bytes as the whole file; aborts when it cannot.
void fuzz_write_file(const char* path, const uint8_t* data, size_t size);

[[noreturn]] void fuzz_check_failed(const char* file, int line, const char* condition);

// Kept in release builds, unlike assert.
#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : fuzz_check_failed(__FILE__, __LINE__, #condition))
