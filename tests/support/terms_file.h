// The one writer of terms files for the tests, the benchmarks and the sample data
// tool: a header line, then one record a line.
#pragma once
#include <stdio.h>

#include <string>
#include <vector>

// A header that names the columns; the viewer skips the first line, whatever it holds.
const char TERMS_COLUMNS[] = "x   ,y   ,name         ,st,pop    ,struct,e,l,adop,amen,m,m,m,cs,c,c,c,s,my";

// Writes path: header, then the records, every line ended with CR LF as in a file
// made on Windows. True when every byte is written.
inline bool write_terms_file(const std::string& path, const std::vector<std::string>& records,
                             const char* header = TERMS_COLUMNS) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = fprintf(file, "%s\r\n", header) >= 0;
    for (const std::string& record : records) ok = fprintf(file, "%s\r\n", record.c_str()) >= 0 && ok;
    return fclose(file) == 0 && ok;
}
