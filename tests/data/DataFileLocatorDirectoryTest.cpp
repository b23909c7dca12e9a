#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "data/FilesTestSupport.h"
#include "data/ProgramDirectory.h"

namespace dv {
namespace {

using test::TempDir;

TEST(ProgramDirectory, RequestedDirectoryIsUsedWhenItExists) {
    TempDir dir;
    std::filesystem::create_directory(dir / "Trgovina");
    std::string error;
    const auto chosen = chooseProgramDirectory((dir / "Trgovina/.//").string(), {}, {}, error);
    ASSERT_TRUE(chosen) << error;
    EXPECT_EQ(*chosen, dir / "Trgovina");

    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const auto relative = chooseProgramDirectory(std::string("Trgovina"), {}, {}, error);
    std::filesystem::current_path(cwd);
    ASSERT_TRUE(relative) << error;
    EXPECT_EQ(*relative, dir / "Trgovina");

    EXPECT_FALSE(chooseProgramDirectory((dir / "Ni").string(), dir.path(), dir.path(), error));
    EXPECT_NE(error.find("Ni"), std::string::npos);
}

TEST(ProgramDirectory, ExecutableDirectoryWhenWritableElseTheUsersDataDirectory) {
    TempDir dir;
    std::string error;
    const auto user = dir / "home/.local/share/dideroviv";
    EXPECT_EQ(chooseProgramDirectory(std::nullopt, dir.path(), user, error), dir.path());
    EXPECT_FALSE(std::filesystem::exists(user));

    const auto chosen = chooseProgramDirectory(std::nullopt, dir / "no such bin", user, error);
    ASSERT_TRUE(chosen) << error;
    EXPECT_EQ(*chosen, user);
    EXPECT_TRUE(std::filesystem::is_directory(user));

    test::writeBytes(dir / "file", "");
    EXPECT_FALSE(chooseProgramDirectory(std::nullopt, dir / "no such bin", dir / "file/x", error));
    EXPECT_FALSE(error.empty());
}

TEST(ProgramDirectory, ExecutableAndUserDirectoriesComeFromTheSystem) {
    EXPECT_EQ(executableDirectory("ignored"),
              std::filesystem::canonical("/proc/self/exe").parent_path());

    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(userDataDirectory(), std::filesystem::path("/srv/data/dideroviv"));
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_TRUE(userDataDirectory().string().ends_with("/.local/share/dideroviv"));
    if (old) ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
}

TEST(ProgramDirectory, WindowsPathsAreReadWithHostSeparators) {
    EXPECT_EQ(hostPath("..\\APPINS.TPS"), "../APPINS.TPS");
    EXPECT_EQ(hostPath("Podatki\\Leto 2024\\ARTIKLI.TPS"), "Podatki/Leto 2024/ARTIKLI.TPS");
    EXPECT_EQ(hostPath("/already/host"), "/already/host");
}

}  // namespace
}  // namespace dv
