#include "run_log_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "codepage.h"

namespace engine {

void saveRunLog(const std::string& path, const std::vector<std::string>& entries) {
    std::string content;
    for (const std::string& entry : entries) {
        content += db::toCodePage(entry);
        content += "\r\n";
    }
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) file.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (file) file.close();
    if (!file) {
        const std::string reason = errno != 0 ? std::strerror(errno) : "the file could not be written";
        throw std::runtime_error("Cannot create file \"" + path + "\". " + reason);
    }
}

}  // namespace engine
