// Files written whole or not at all, links and devices written through, and every failure named.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "files/whole_file.h"
#include "support/plugin_run.h"

namespace fs = std::filesystem;

namespace {

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The message of the error a write throws, or "" when it throws none.
template <class Write>
std::string ErrorOf(Write write) {
    try {
        write();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

TEST(WholeFileTest, ReplacesARegularFileAndLeavesNoPartialBehind) {
    const fs::path dir = testing_support::FreshTempDir("whole-file");
    const fs::path file = dir / "out.json";
    sandbox::WriteWholeFile(file, "first");
    sandbox::WriteWholeFile(file, [](std::ostream& out) { out << "second"; });
    EXPECT_EQ(Contents(file), "second");
    EXPECT_FALSE(fs::exists(dir / "out.json.partial"));
}

TEST(WholeFileTest, ALinkIsWrittenThroughAndStaysALink) {
    const fs::path dir = testing_support::FreshTempDir("whole-file");
    const fs::path target = dir / "target.txt";
    const fs::path link = dir / "link.txt";
    sandbox::WriteWholeFile(target, "old");
    fs::create_symlink(target, link);
    sandbox::WriteWholeFile(link, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Contents(target), "new");
}

TEST(WholeFileTest, AFailedWriteNamesTheFileAndTheReasonAndKeepsTheOldFile) {
    // /dev/full takes the open and fails every write with "No space left on device"; written
    // through a link, the failure comes at the flush or close of a short text.
    const fs::path dir = testing_support::FreshTempDir("whole-file");
    const fs::path link = dir / "full.json";
    fs::create_symlink("/dev/full", link);
    const std::string error = ErrorOf([&] { sandbox::WriteWholeFile(link, "{}"); });
    EXPECT_EQ(error, "cannot write " + link.string() + ": No space left on device");

    // A partial file that cannot be made (a folder stands in its place) leaves the old file whole.
    const fs::path file = dir / "kept.csv";
    sandbox::WriteWholeFile(file, "old");
    fs::create_directory(dir / "kept.csv.partial");
    EXPECT_NE(ErrorOf([&] { sandbox::WriteWholeFile(file, "new"); }), "");
    EXPECT_EQ(Contents(file), "old");
}

TEST(WholeFileTest, AStreamedFileReportsAFailedWriteAtItsClose) {
    const fs::path dir = testing_support::FreshTempDir("whole-file");
    const fs::path link = dir / "timed.log";
    fs::create_symlink("/dev/full", link);
    sandbox::StreamedFile file(link);
    file.Write("a line\n");
    EXPECT_EQ(ErrorOf([&] { file.Close(); }), "cannot write " + link.string() + ": No space left on device");
}

}  // namespace
