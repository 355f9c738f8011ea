#include "copy_log.h"

#include "codepage.h"
#include "local_time.h"
#include "log_file.h"
#include "log_folder.h"

namespace engine {

void appendCopyLog(const std::string& path, const SafetyCopy& copy, std::time_t when) {
    char stamp[32];
    const std::tm local = platform::localTime(when);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    const std::string line = db::toCodePage(std::string(stamp) + '\t' + copy.database + '\t' + copy.path + '\t' +
                                            std::to_string(copy.bytes)) +
                             "\r\n";
    // The line names the customer's database and copy: the file is private, as the copies are.
    platform::LogFile(path, platform::LogFile::Opening::Append).write(line);
}

std::string recordCopy(const std::string& programFolder, const SafetyCopy& copy, std::time_t when) {
    std::string programFolderFailure;
    return writeInLogFolder(programFolder, programFolderFailure,
                            [&](const std::string& folder) { appendCopyLog(folder + kCopyLogName, copy, when); }) +
           kCopyLogName;
}

}  // namespace engine
