#include "small_file_system.h"

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace test_support {

SmallFileSystem::SmallFileSystem(long long bytes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavlo-merak-small-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        why_ = std::string("cannot create a folder to mount on: ") + std::strerror(errno);
        return;
    }
    folder_ = pattern;
    // Open to every user: the database server's own user creates the database on it.
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        why_ = "cannot mount a " + std::to_string(bytes) + "-byte tmpfs on " + folder_ + ": " + std::strerror(errno) +
               " (it needs root)";
        return;
    }
    mounted_ = true;
}

SmallFileSystem::~SmallFileSystem() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    if (!folder_.empty()) ::rmdir(folder_.c_str());
}

void SmallFileSystem::fillLeaving(long long bytes) const {
    struct statvfs space {};
    if (::statvfs(folder_.c_str(), &space) != 0) throw std::runtime_error("cannot read the free space");
    long long fill = static_cast<long long>(space.f_bavail) * static_cast<long long>(space.f_frsize) - bytes;
    std::ofstream filler(folder_ + "/filler", std::ios::binary);
    const std::vector<char> block(64 * 1024, 'x');
    for (; fill > 0; fill -= static_cast<long long>(block.size()))
        filler.write(block.data(), static_cast<std::streamsize>(std::min<long long>(fill, block.size())));
    filler.close();
    if (!filler) throw std::runtime_error("cannot fill " + folder_);
}

}  // namespace test_support
