// Whole files in and out, and a scratch directory, for tests that set up
// inputs on disk and read outputs back.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace scenario::test_support {

inline std::string read_file(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_file(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

// A fresh directory under the system's temporary one, named `prefix` and a
// random number (tests run in parallel), removed with its content at the end.
class temporary_directory {
public:
    explicit temporary_directory(const std::string& prefix) {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~temporary_directory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    temporary_directory(const temporary_directory&) = delete;
    temporary_directory& operator=(const temporary_directory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace scenario::test_support
