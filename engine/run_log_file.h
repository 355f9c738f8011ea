#pragma once

#include <string>
#include <vector>

namespace engine {

// Writes a run log: every entry followed by CR LF, in the single-byte code page, without a
// byte-order mark, replacing the file. Throws std::runtime_error naming the file and the
// reason when it cannot be written.
void saveRunLog(const std::string& path, const std::vector<std::string>& entries);

}  // namespace engine
