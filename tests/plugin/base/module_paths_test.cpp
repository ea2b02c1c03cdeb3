// Where the module looks for its INI and writes its log: beside itself, named after its own file,
// and nowhere else, however long or dotted the folders above it are.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "support/module_session.h"
#include "support/plugin_run.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ModuleSession;

constexpr const char* kForeignText = "somebody else's file\n";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every file under the folder with its bytes (the module's left out).
std::map<std::string, std::string> Files(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        const std::string name = fs::relative(entry.path(), dir).string();
        files[name] = entry.path().filename() == "vigilor.so" ? "" : ReadFile(entry.path());
    }
    return files;
}

// An absolute module path of exactly `length` characters: the folder, the dotted folder "game.v2",
// folders of 40 characters, and one shorter folder to land the length.
fs::path LongModulePath(const fs::path& dir, std::size_t length, const std::string& fileName) {
    fs::path folder = dir / "game.v2";
    const auto sizeWith = [&](std::size_t folderName) {
        return folder.string().size() + folderName + 2 + fileName.size();
    };
    while (sizeWith(40) + 2 < length) folder /= std::string(40, 'a');
    folder /= std::string(length - sizeWith(0), 'b');
    fs::create_directories(folder);
    return folder / fileName;
}

// The files the old path handling would hit: "game" one level above "game.v2", and the INI there
// asks for something a test can see.
void PlantForeignFiles(const fs::path& dir) {
    std::ofstream(dir / "game.log", std::ios::binary) << kForeignText;
    std::ofstream(dir / "game.ini", std::ios::binary) << "[Settings]\nSightRange=99\n";
}

TEST(ModulePaths, ANameTooLongForItsBufferGivesDefaultsAndNoLog) {
    for (std::size_t length : {std::size_t{260}, std::size_t{300}}) {
        const fs::path dir = testing_support::FreshTempDir("long");
        const fs::path module = LongModulePath(dir, length, "vigilor.so");
        ASSERT_EQ(module.string().size(), length);
        PlantForeignFiles(dir);
        ModuleSession session("", ModuleSession::DefaultScenario(), module);
        const auto before = Files(dir);
        session.Frames(3);
        EXPECT_EQ(session.Cfg().SightRange, 45.0f) << length;
        EXPECT_EQ(Files(dir), before) << length;
    }
}

TEST(ModulePaths, AFormattedPathThatDoesNotFitGivesDefaultsAndNoLog) {
    // The name itself fits (258 characters), but with ".log" after it the path would be cut.
    const fs::path dir = testing_support::FreshTempDir("fit");
    const fs::path module = LongModulePath(dir, 258, "vigilor");
    ASSERT_EQ(module.string().size(), 258u);
    std::ofstream(module.parent_path() / "vigilor.l", std::ios::binary) << kForeignText;
    ModuleSession session("", ModuleSession::DefaultScenario(), module);
    const auto before = Files(dir);
    session.Frames(3);
    EXPECT_EQ(session.Cfg().SightRange, 45.0f);
    EXPECT_EQ(Files(dir), before);
}

TEST(ModulePaths, TheExtensionIsTakenFromTheFileNameNotAFolder) {
    // A module without an extension in a dotted folder: its files are vigilor.ini and vigilor.log
    // beside it, not game.ini and game.log above.
    {
        ModuleSession session("[Settings]\nSightRange=60\n", ModuleSession::DefaultScenario(),
                              "game.v2/vigilor");
        PlantForeignFiles(session.Dir());
        session.Frame();
        EXPECT_EQ(session.Cfg().SightRange, 60.0f);
        EXPECT_EQ(ReadFile(session.Dir() / "game.log"), kForeignText);
        EXPECT_NE(ReadFile(session.Dir() / "game.v2" / "vigilor.log").find("Vigilor v8 loaded"),
                  std::string::npos);
    }

    // With an extension, only the last one goes.
    ModuleSession dotted("[Settings]\nSightRange=61\n", ModuleSession::DefaultScenario(),
                         "game.v2/vigilor.x.so");
    dotted.Frame();
    EXPECT_EQ(dotted.Cfg().SightRange, 45.0f);  // vigilor.ini is not vigilor.x.ini
    EXPECT_TRUE(fs::exists(dotted.Dir() / "game.v2" / "vigilor.x.log"));
}

}  // namespace
