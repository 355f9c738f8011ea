#pragma once

// A folder in which not even root can create a file while the object lives (the ext4
// immutable flag, set and cleared as root): a fault for a copy that cannot be written.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace test_support {

class ImmutableFolder {
public:
    explicit ImmutableFolder(const std::string& path) : descriptor_(::open(path.c_str(), O_RDONLY | O_DIRECTORY)) {
        if (descriptor_ < 0 || !setFlag(true)) throw std::runtime_error("cannot make " + path + " immutable");
    }
    ~ImmutableFolder() {
        setFlag(false);
        ::close(descriptor_);
    }
    ImmutableFolder(const ImmutableFolder&) = delete;
    ImmutableFolder& operator=(const ImmutableFolder&) = delete;

private:
    bool setFlag(bool on) const {
        int flags = 0;
        if (::ioctl(descriptor_, FS_IOC_GETFLAGS, &flags) != 0) return false;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        return ::ioctl(descriptor_, FS_IOC_SETFLAGS, &flags) == 0;
    }

    int descriptor_;
};

}  // namespace test_support
