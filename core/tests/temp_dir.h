// A fresh temporary directory per test, removed with everything in it afterwards.
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

struct TempDir {
    std::string path;

    TempDir() {
        char pattern[] = "/tmp/baylith-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        path = made ? made : "";
    }
    ~TempDir() {
        std::error_code error;
        if (!path.empty()) std::filesystem::remove_all(path, error);
    }
    std::string file(const std::string& name) const { return path + "/" + name; }
};

inline void write_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), (std::streamsize)bytes.size());
}

inline std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
