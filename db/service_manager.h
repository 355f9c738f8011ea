#pragma once

#include <functional>
#include <string>
#include <vector>

#include <ibase.h>

namespace db {

// Where the server's service manager is reached and as whom.
struct ServiceLogin {
    std::string host;
    std::string user;
    std::string password;
};

// One attachment to the server's service manager, through which the server runs a backup or a
// restore: it writes or reads the backup file itself, or streams the backup through this
// program. Detaches when it goes away.
class ServiceManager {
public:
    // Attaches; throws DatabaseError with the server's text when it cannot.
    explicit ServiceManager(const ServiceLogin& login);
    ~ServiceManager();
    ServiceManager(const ServiceManager&) = delete;
    ServiceManager& operator=(const ServiceManager&) = delete;

    // Starts a service described by its request block (see backupRequest, restoreRequest).
    void start(const std::vector<char>& request);
    // Waits for the next line of the running service's output and returns true with it, or
    // returns false once the service has ended. A service that ended in a failure throws it.
    bool nextLine(std::string& line);
    // For a backup streamed to this program: waits for the next bytes of the backup and returns
    // true with them, or returns false once the service has ended. Throws as nextLine.
    bool nextBytes(std::string& bytes);
    // For a restore streamed from this program: hands the server the bytes it asks for, each
    // time calling readBytes with the most it takes (readBytes returns fewer, or none at the
    // end of the backup), and passes every line of output to onLine until the service ends.
    // Throws as nextLine.
    void feed(const std::function<std::string(std::size_t)>& readBytes,
              const std::function<void(const std::string&)>& onLine);

private:
    isc_svc_handle handle_ = 0;
};

// A backup of the database (a file name as the server sees it) into backupFile, written by
// the server, with a line of output for every step.
std::vector<char> backupRequest(const std::string& database, const std::string& backupFile);
// A restore of backupFile over the database, replacing it, with a line of output for every step.
std::vector<char> restoreRequest(const std::string& backupFile, const std::string& database);
// A backup of the database streamed to this program (ServiceManager::nextBytes). The server
// gives no progress lines with it.
std::vector<char> streamedBackupRequest(const std::string& database);
// A restore streamed from this program (ServiceManager::feed) into the database, with a line of
// output for every step. A new database is never put over an existing file; otherwise the
// existing database is replaced.
enum class RestoreInto { NewDatabase, ExistingDatabase };
std::vector<char> streamedRestoreRequest(const std::string& database, RestoreInto into);
// A full check by the server of every page and record of a database that nothing else is
// attached to; each line of its output describes a fault found.
std::vector<char> validationRequest(const std::string& database);

// Attaches, starts the request and passes every line of output to onLine until the service
// ends. Throws DatabaseError when the attachment, the start or the service fails.
void runService(const ServiceLogin& login, const std::vector<char>& request,
                const std::function<void(const std::string&)>& onLine);

}  // namespace db
