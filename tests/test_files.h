#pragma once
// A private temporary folder for one test, removed with everything in it afterwards.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace sx {

class TestFiles {
 public:
  TestFiles() {
    std::string base = std::filesystem::temp_directory_path().string() + "/sondrix-test-XXXXXX";
    if (const char* root = std::getenv("SONDRIX_TEST_TMP")) {
      std::filesystem::create_directories(root);
      base = std::string(root) + "/sondrix-test-XXXXXX";
    }
    dir_ = mkdtemp(base.data()) ? base : std::string();
  }
  ~TestFiles() {
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }
  TestFiles(const TestFiles&) = delete;
  TestFiles& operator=(const TestFiles&) = delete;

  const std::string& dir() const { return dir_; }

  // Writes bytes to a file of the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string path = dir_ + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

 private:
  std::string dir_;
};

}  // namespace sx
