#pragma once
// The one way every file of the program is written (pictures, metafiles, recordings, data,
// descriptions, templates, settings), so that a failure never leaves a half-written file and no
// write destroys a file it should not touch:
// - A symbolic link as destination is written through: the link stays and the file it leads to
//   (followed to the end of a chain; made anew when missing) is replaced in its own folder.
// - A destination that is the open data file (the same device and inode, links followed) is
//   refused, whatever its name: the data would be lost.
// - An existing destination that is not a regular file (a folder, a FIFO, a device) is refused,
//   and so is one the user may not write or that is write-protected (no write permission bit at
//   all, which holds for the superuser too).
// - The bytes go to a temporary file with a short name in the destination's folder (so that a
//   name of any allowed length can be written), are written whole and synced to the disk, and
//   only then is the temporary file renamed over the destination.

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace sx {

// Writes content to path as described above. openDataFile is the path of the data file the
// program has open (empty when none). Returns true when the whole content reached the
// destination; otherwise the previous file (if any) is intact, no temporary file is left and
// *error (when given) says what went wrong, for a message that names the file ("it is
// write-protected", "writing failed: No space left on device").
bool WriteFileAtomically(const std::string& path, std::string_view content,
                         const std::string& openDataFile, std::string* error = nullptr);

// The checks of WriteFileAtomically without writing, for writers that want to refuse a
// destination before they spend time on its content. True when path may be written.
bool CanReplaceFile(const std::string& path, const std::string& openDataFile,
                    std::string* error = nullptr);

// True when both paths name one existing file (the same device and inode, links followed).
bool IsSameFile(const std::string& a, const std::string& b);

// Test seam: the call that puts bytes into the temporary file; nullptr restores ::write.
using FileWriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
void SetFileWriteCallForTesting(FileWriteCall call);

}  // namespace sx
