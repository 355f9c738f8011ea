#pragma once

#include <string>

namespace test_support {

// A small file system of its own (a tmpfs), mounted on a fresh folder for the length of a
// test, so that a database on it can run out of space without touching any other work on the
// machine. Mounting needs root: when it fails, mounted() is false and why() says why.
class SmallFileSystem {
public:
    explicit SmallFileSystem(long long bytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }
    const std::string& folder() const { return folder_; }

    // Fills the file system with a file of its own until only about the given number of
    // bytes are left.
    void fillLeaving(long long bytes) const;

private:
    std::string folder_;
    std::string why_;
    bool mounted_ = false;
};

}  // namespace test_support
