#pragma once

#include <string>

namespace db {

// The Firebird version of the server an attachment reached, as the server reports it
// ("LI-V4.0.5.3140 Firebird 4.0" gives 4, 0, 5).
struct ServerVersion {
    int major = 0;
    int minor = 0;
    int release = 0;

    // "4.0.5"; empty when the server did not say.
    std::string text() const;
    bool known() const { return major > 0; }
};

// Reads the version out of the first line of the server's answer to isc_info_firebird_version:
// the implementation prefix, "V" (or "T" for a test build), then major.minor.release.build.
// An answer in another shape gives an unknown version.
ServerVersion parseServerVersion(const std::string& line);

// Firebird 4.0 changed what some statements mean and added column types that an older client
// library cannot describe; these say which behaviour a server has.
inline bool restartMakesNextValue(const ServerVersion& version) { return version.major >= 4; }
inline bool describesNewTypes(const ServerVersion& version) { return version.major >= 4; }

}  // namespace db
