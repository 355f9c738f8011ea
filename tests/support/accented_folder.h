#pragma once

#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "test_database.h"

namespace test_support {

// A folder named like the desktop folder of a Portuguese-language Linux desktop, "Área de
// Trabalho", in a fresh folder of its own. Test databases are given a second name in it, so
// that the program is handed a path with accented letters while the test still checks the
// database by its first name. The second name is a symbolic link, which the server resolves:
// both names then reach the same open database, where a second hard-linked name would be a
// second database on the same file. Removed with everything in it.
class AccentedFolder {
public:
    AccentedFolder() {
        std::string root = (std::filesystem::temp_directory_path() / "tavlo-merak-home-XXXXXX").string();
        if (::mkdtemp(root.data()) == nullptr) throw std::runtime_error("cannot create a folder");
        root_ = root;
        folder_ = root_ + "/Área de Trabalho";
        std::filesystem::create_directory(folder_);
        // The server runs as its own user and opens the files through this folder.
        std::filesystem::permissions(root_, std::filesystem::perms::all);
        std::filesystem::permissions(folder_, std::filesystem::perms::all);
    }
    ~AccentedFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    AccentedFolder(const AccentedFolder&) = delete;
    AccentedFolder& operator=(const AccentedFolder&) = delete;

    const std::string& path() const { return folder_; }

    // The path, in the folder, of a second name of the database's file.
    std::string add(const TestDatabase& database, const std::string& fileName) const {
        const std::string path = folder_ + "/" + fileName;
        std::filesystem::create_symlink(database.path(), path);
        return path;
    }

private:
    std::string root_;
    std::string folder_;
};

}  // namespace test_support
