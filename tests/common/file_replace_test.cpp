// Replacing a file with content made piece by piece.
#include "common/file_replace.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

#ifdef __linux__
#include <csignal>
#include <sys/resource.h>
#endif

namespace scenario {
namespace {

namespace fs = std::filesystem;

class FileReplaceInPieces : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("file_replace_test_" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(dir_);
        std::ofstream(file(), std::ios::binary) << "the old content";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    fs::path file() const { return dir_ / "plan.dat"; }
    std::string content() const {
        std::ifstream in(file(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    // Pieces of every size from none to larger than a stream's own buffer,
    // each filled with its own letter.
    static void pieces(const piece_writer& write) {
        for (std::size_t n : {0u, 1u, 7u, 8191u, 8192u, 70000u, 3u}) {
            const std::string piece(n, static_cast<char>('a' + n % 26));
            write(piece);
        }
    }

    fs::path dir_;
};

TEST_F(FileReplaceInPieces, ThePiecesInTheirOrderReplaceTheFile) {
    std::string expected;
    pieces([&expected](std::string_view p) { expected.append(p); });
    ASSERT_TRUE(replace_file_in_pieces(file(), pieces).ok());
    EXPECT_TRUE(content() == expected);
    EXPECT_EQ(entries(), 1u);  // no temporary left

    ASSERT_TRUE(replace_file_in_pieces(file(), [](const piece_writer&) {}).ok());
    EXPECT_EQ(content(), "");
}

#ifdef __linux__
// A write that fails halfway (here the process's file size limit) leaves the
// old file as it was and no temporary, and names the write as the failure.
TEST_F(FileReplaceInPieces, AWriteFailingHalfwayKeepsTheOldFile) {
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 20000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool made_to_the_end = false;
    const auto replaced = replace_file_in_pieces(file(), [&](const piece_writer& write) {
        const std::string piece(16384, 'x');
        for (int i = 0; i < 8; ++i)
            write(piece);
        made_to_the_end = true;
    });
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, old_handler);

    ASSERT_FALSE(replaced.ok());
    const file_failure& failed = replaced.error();
    EXPECT_EQ(failed.step, replace_step::write);
    EXPECT_EQ(failed.file, file());
    EXPECT_EQ(failed.cause, std::error_code(EFBIG, std::generic_category())) << describe_failure(failed);
    EXPECT_TRUE(made_to_the_end);
    EXPECT_EQ(content(), "the old content");
    EXPECT_EQ(entries(), 1u);
}
#endif

}  // namespace
}  // namespace scenario
