// The helpers of test_database.cpp that the Windows build's tests use; the rest of that file
// starts isql and waits for it, which the Windows build has no use for.
#include <fstream>
#include <sstream>

#include "file_paths.h"
#include "test_database.h"

namespace test_support {

std::string readFile(const std::string& path) {
    std::ifstream in(platform::filePath(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace test_support
