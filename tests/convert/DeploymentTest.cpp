#include "convert/Deployment.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "tests/support/TempHome.h"
#include "util/AppError.h"

namespace quillane {
namespace {

using test::ReadFile;
using test::TempDir;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// Sets environment variables for the life of the object and puts the old values back.
class EnvironmentScope {
  public:
    void Set(const std::string& name, const char* value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value != nullptr) {
            setenv(name.c_str(), value, 1);
        } else {
            unsetenv(name.c_str());
        }
    }
    ~EnvironmentScope() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                unsetenv(it->first.c_str());
            }
        }
    }

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(RunFolderCandidates, TheTemporaryFolderThenTheUsersRuntimeAndCacheFolders) {
    EnvironmentScope environment;
    environment.Set("TEMP", "/t");
    environment.Set("XDG_RUNTIME_DIR", "/run/user/1000");
    environment.Set("XDG_CACHE_HOME", "/home/u/.cache-elsewhere");
    environment.Set("HOME", "/home/u");
    EXPECT_EQ(RunFolderCandidates(),
              (std::vector<std::string>{"/t", "/run/user/1000", "/home/u/.cache-elsewhere"}));
    // Unset, relative or repeated folders are left out; the cache defaults to ~/.cache.
    environment.Set("XDG_RUNTIME_DIR", "/t");
    environment.Set("XDG_CACHE_HOME", "relative/cache");
    EXPECT_EQ(RunFolderCandidates(), (std::vector<std::string>{"/t", "/home/u/.cache"}));
    environment.Set("XDG_RUNTIME_DIR", nullptr);
    environment.Set("XDG_CACHE_HOME", nullptr);
    environment.Set("HOME", nullptr);
    EXPECT_EQ(RunFolderCandidates(), (std::vector<std::string>{"/t"}));
}

TEST(CreatePrivateFolder, MakesAFreshFolderOnlyItsOwnerMayEnter) {
    TempDir temp;
    const mode_t old = ::umask(0);  // even a permissive umask does not open it up
    const std::string a = CreatePrivateFolder(temp.path());
    const std::string b = CreatePrivateFolder(temp.path() + "/");
    ::umask(old);
    EXPECT_NE(a, b);
    EXPECT_EQ(a.rfind(temp.path() + "/", 0), 0u);
    EXPECT_EQ(b.find("//"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(a));
    EXPECT_EQ(ModeOf(a), 0700u);
    EXPECT_THROW(CreatePrivateFolder(temp / "missing"), AppError);
}

TEST(WriteBytesToFile, WritesEveryByteWithTheGivenMode) {
    TempDir temp;
    std::string payload;
    for (int k = 0; k < 300000; ++k) {
        payload += static_cast<char>(k * 7 % 256);  // NULs and high bytes included
    }
    int yields = 0;
    const mode_t old = ::umask(077);  // the converter still gets its execute bit
    WriteBytesToFile(payload, temp / "ZOD2UVOV.exe", 0700, [&] { ++yields; });
    ::umask(old);
    EXPECT_EQ(yields, 1);
    EXPECT_EQ(ReadFile(temp / "ZOD2UVOV.exe"), payload);
    EXPECT_EQ(ModeOf(temp / "ZOD2UVOV.exe"), 0700u);
    EXPECT_EQ(::access((temp / "ZOD2UVOV.exe").c_str(), X_OK), 0);
    WriteBytesToFile("", temp / "empty.dll");
    EXPECT_EQ(ReadFile(temp / "empty.dll"), "");
}

TEST(WriteBytesToFile, NeverReplacesOrWritesThroughWhatIsThere) {
    TempDir temp;
    test::WriteFile(temp / "present", "old");
    WriteBytesToFile("new", temp / "present");
    EXPECT_EQ(ReadFile(temp / "present"), "old");
    // A planted link is not followed.
    std::filesystem::create_symlink(temp / "target", temp / "link");
    WriteBytesToFile("new", temp / "link");
    EXPECT_FALSE(std::filesystem::exists(temp / "target"));
    EXPECT_THROW(WriteBytesToFile("x", temp / "missing/file"), AppError);
}

TEST(DeleteFileQuietly, RemovesFilesAndIgnoresEveryFailure) {
    TempDir temp;
    test::WriteFile(temp / "temp.rtf", "x");
    std::filesystem::permissions(temp / "temp.rtf", std::filesystem::perms::owner_read);
    int yields = 0;
    DeleteFileQuietly(temp / "temp.rtf", [&] { ++yields; });
    EXPECT_FALSE(std::filesystem::exists(temp / "temp.rtf"));
    EXPECT_EQ(yields, 1);
    EXPECT_NO_THROW(DeleteFileQuietly(temp / "temp.rtf"));
    EXPECT_NO_THROW(DeleteFileQuietly(""));
    const std::string folder = CreatePrivateFolder(temp.path());
    RemoveFolderQuietly(folder);
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_NO_THROW(RemoveFolderQuietly(folder));
}

}  // namespace
}  // namespace quillane
