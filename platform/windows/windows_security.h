#pragma once

// Users and file owners for the Windows platform files, as security identifiers (SIDs) held in
// memory of their own; not part of the platform interface.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace platform::windows {

// A SID copied out of the structure Windows returned it in.
class Sid {
public:
    explicit Sid(PSID sid);
    PSID get() const { return const_cast<BYTE*>(bytes_.data()); }
    bool operator==(const Sid& other) const { return ::EqualSid(get(), other.get()) != FALSE; }
    // The SID's text form, "S-1-5-21-…".
    std::string text() const;

private:
    std::vector<BYTE> bytes_;
};

// The user the process runs as.
Sid currentUser();

// The owner of an open file, or of a file by name; nothing when Windows does not tell (the
// reason is then in error).
std::optional<Sid> ownerOf(HANDLE file, DWORD& error);
std::optional<Sid> ownerOf(const std::wstring& path, DWORD& error);

// The machine's administrators or its system account, which own what an administrator creates.
bool isAdministrative(const Sid& sid);

}  // namespace platform::windows
