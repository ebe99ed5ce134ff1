#include "shell/recent_files.h"

#include <algorithm>
#include <fstream>

#include "core/atomic_file.h"

namespace sx {

RecentFiles::RecentFiles(std::string path) : file_(std::move(path)) {
  if (file_.empty()) return;
  std::ifstream in(file_);
  std::string line;
  while (paths_.size() < kRecentFileCount && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && std::find(paths_.begin(), paths_.end(), line) == paths_.end()) {
      paths_.push_back(line);
    }
  }
}

void RecentFiles::add(const std::string& path) {
  if (path.empty() || path.find('\n') != std::string::npos) return;
  std::erase(paths_, path);
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > kRecentFileCount) paths_.resize(kRecentFileCount);
  write();
}

void RecentFiles::remove(const std::string& path) {
  std::erase(paths_, path);
  write();
}

void RecentFiles::write() const {
  if (file_.empty()) return;
  std::string text;
  for (const std::string& p : paths_) text += p + "\n";
  // The list is a convenience: a folder that cannot be written only loses it.
  WriteFileAtomically(file_, text, {});
}

}  // namespace sx
