// Whole files in and out, for tests that set up inputs and read outputs.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace scenario::test_support {

inline std::string read_file(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_file(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

}  // namespace scenario::test_support
