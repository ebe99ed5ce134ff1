#pragma once
// A private temporary folder for one test, removed with everything in it afterwards.

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

// The bytes of a file; empty when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The lines of a text whose lines end with CR LF (the settings files and templates).
inline std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
    end = std::min(text.find("\r\n", start), text.size());
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

}  // namespace sx
