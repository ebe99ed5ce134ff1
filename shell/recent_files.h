#pragma once
// The last data files opened, newest first, kept in a file of the settings folder (one path a
// line) so that the list survives the program.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sx {

inline constexpr std::string_view kRecentFileName = "SondrixRecent.txt";
inline constexpr std::size_t kRecentFileCount = 8;

class RecentFiles {
 public:
  // An empty path keeps the list in memory only.
  explicit RecentFiles(std::string path = {});
  const std::vector<std::string>& paths() const { return paths_; }
  // Puts path first (once), drops what falls beyond the last place, and writes the list.
  void add(const std::string& path);
  void remove(const std::string& path);

 private:
  void write() const;
  std::string file_;
  std::vector<std::string> paths_;
};

}  // namespace sx
