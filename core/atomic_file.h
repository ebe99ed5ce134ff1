#pragma once
// Writing a file so that a failure never leaves it half-written: the bytes go to a temporary
// file in the same folder, which is flushed and renamed over the target only when complete.

#include <string>
#include <string_view>

namespace sx {

// Returns true when the whole content reached the target; on failure the previous file (if
// any) is intact, the temporary file is removed and *error (when given) says what went wrong.
bool WriteFileAtomically(const std::string& path, std::string_view content,
                         std::string* error = nullptr);

}  // namespace sx
