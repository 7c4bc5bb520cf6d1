#include "tests/support/TempHome.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quillane::test {

namespace {

std::string MakeTempFolder(const char* pattern) {
    const char* tmp = std::getenv("TMPDIR");
    std::string templ = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + pattern;
    if (mkdtemp(templ.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    return templ;
}

}  // namespace

TempHome::TempHome() : path_(MakeTempFolder("quillane-home-XXXXXX")) {
    std::filesystem::create_directories(path_ + "/Desktop");
    std::filesystem::create_directories(path_ + "/.config");
    setenv("HOME", path_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (path_ + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (path_ + "/.local/share").c_str(), 1);
    setenv("XDG_CACHE_HOME", (path_ + "/.cache").c_str(), 1);
    setenv("XDG_DESKTOP_DIR", (path_ + "/Desktop").c_str(), 1);
}

TempHome::~TempHome() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

TempDir::TempDir() : path_(MakeTempFolder("quillane-test-XXXXXX")) {}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests make folders unreadable on purpose; give the owner back every right first.
    for (auto it = std::filesystem::recursive_directory_iterator(
             path_, std::filesystem::directory_options::skip_permission_denied, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        }
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace quillane::test
