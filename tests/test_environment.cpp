// Every test process keeps its settings (preferences, window file, patterns) in a folder of its
// own, never in the user's: loads read and write those files.

#include <cstdlib>

#include "test_files.h"

namespace {

struct PrivateSettingsFolder {
  PrivateSettingsFolder() {
    if (!files.dir().empty()) setenv("APPDATA", files.dir().c_str(), 1);
  }
  sx::TestFiles files;  // removed with everything in it when the process ends
};

const PrivateSettingsFolder privateFolder;

}  // namespace
