#include "copy_log.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "codepage.h"
#include "file_paths.h"
#include "local_time.h"
#include "log_folder.h"

namespace engine {

void appendCopyLog(const std::string& path, const SafetyCopy& copy, std::time_t when) {
    char stamp[32];
    const std::tm local = platform::localTime(when);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    const std::string line = db::toCodePage(std::string(stamp) + '\t' + copy.database + '\t' + copy.path + '\t' +
                                            std::to_string(copy.bytes)) +
                             "\r\n";
    errno = 0;
    std::ofstream file(platform::filePath(path), std::ios::binary | std::ios::app);
    if (file) file.write(line.data(), static_cast<std::streamsize>(line.size()));
    if (file) file.close();
    if (!file) {
        const std::string reason = errno != 0 ? std::strerror(errno) : "the file could not be written";
        throw std::runtime_error("Cannot write file \"" + path + "\". " + reason);
    }
}

std::string recordCopy(const std::string& programFolder, const SafetyCopy& copy, std::time_t when) {
    std::string programFolderFailure;
    return writeInLogFolder(programFolder, programFolderFailure,
                            [&](const std::string& folder) { appendCopyLog(folder + kCopyLogName, copy, when); }) +
           kCopyLogName;
}

}  // namespace engine
