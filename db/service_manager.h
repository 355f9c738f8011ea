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

// One attachment to the server's service manager, through which the server itself runs a
// backup or a restore and writes or reads the file. Detaches when it goes away.
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

private:
    isc_svc_handle handle_ = 0;
};

// A backup of the database (a file name as the server sees it) into backupFile, written by
// the server, with a line of output for every step.
std::vector<char> backupRequest(const std::string& database, const std::string& backupFile);
// A restore of backupFile over the database, replacing it, with a line of output for every step.
std::vector<char> restoreRequest(const std::string& backupFile, const std::string& database);

// Attaches, starts the request and passes every line of output to onLine until the service
// ends. Throws DatabaseError when the attachment, the start or the service fails.
void runService(const ServiceLogin& login, const std::vector<char>& request,
                const std::function<void(const std::string&)>& onLine);

}  // namespace db
