// Every test process keeps its settings (preferences, window file, patterns) in a folder of its
// own, never in the user's: loads read and write those files.

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct PrivateSettingsFolder {
  PrivateSettingsFolder() {
    const char* root = std::getenv("SONDRIX_TEST_TMP");
    std::string base = root ? root : std::filesystem::temp_directory_path().string();
    std::error_code ec;
    std::filesystem::create_directories(base, ec);
    base += "/settings-XXXXXX";
    if (mkdtemp(base.data()) != nullptr) {
      setenv("APPDATA", base.c_str(), 1);
      folder = base;
    }
  }
  ~PrivateSettingsFolder() {
    std::error_code ec;
    if (!folder.empty()) std::filesystem::remove_all(folder, ec);
  }
  std::string folder;
};

const PrivateSettingsFolder privateFolder;

}  // namespace
