#include "service_manager.h"

#include <limits>

#include "client_library.h"
#include "database_error.h"
#include "file_paths.h"
#include "server_lines.h"

namespace db {

namespace {

// The texts of a service request are the login and file paths: they go in the file-name
// encoding, as the connection strings of attachments do.
void appendText(std::vector<char>& block, char item, const std::string& text, bool wideLength) {
    const std::string bytes = platform::toFileNameBytes(text);
    const std::size_t limit = wideLength ? std::numeric_limits<unsigned short>::max() : 255;
    if (bytes.size() > limit) throw DatabaseError("Parameter too long for the service request");
    block.push_back(item);
    block.push_back(static_cast<char>(bytes.size() & 0xFF));
    if (wideLength) block.push_back(static_cast<char>((bytes.size() >> 8) & 0xFF));
    block.insert(block.end(), bytes.begin(), bytes.end());
}

void appendNumber(std::vector<char>& block, char item, unsigned int value) {
    block.push_back(item);
    for (int shift = 0; shift < 32; shift += 8) block.push_back(static_cast<char>((value >> shift) & 0xFF));
}

}  // namespace

ServiceManager::ServiceManager(const ServiceLogin& login) {
    std::vector<char> block{isc_spb_version, isc_spb_current_version};
    appendText(block, isc_spb_user_name, login.user, false);
    appendText(block, isc_spb_password, login.password, false);
    platform::useFileNameEncoding();
    const std::string name = platform::toFileNameBytes(login.host + ":service_mgr");
    ISC_STATUS_ARRAY status{};
    if (clientLibrary().service_attach(status, static_cast<unsigned short>(name.size()), name.c_str(), &handle_,
                                       static_cast<unsigned short>(block.size()), block.data()) != 0) {
        handle_ = 0;
        throw statusError(status);
    }
}

ServiceManager::~ServiceManager() {
    ISC_STATUS_ARRAY status{};
    // Quiet: the handle is released either way.
    if (handle_ != 0) clientLibrary().service_detach(status, &handle_);
}

void ServiceManager::start(const std::vector<char>& request) {
    ISC_STATUS_ARRAY status{};
    if (clientLibrary().service_start(status, &handle_, nullptr, static_cast<unsigned short>(request.size()),
                                      request.data()) != 0)
        throw statusError(status);
}

bool ServiceManager::nextLine(std::string& line) {
    const ClientLibrary& lib = clientLibrary();
    const char item = isc_info_svc_line;
    char reply[4096];
    ISC_STATUS_ARRAY status{};
    if (lib.service_query(status, &handle_, nullptr, 0, nullptr, 1, &item, sizeof reply, reply) != 0)
        throw statusError(status);
    // The reply: the item, a two-byte length, the line and the byte after it; an empty line
    // once the service has ended, unless that byte says the reply was cut short.
    if (reply[0] != isc_info_svc_line) throw DatabaseError("Unexpected reply from the service manager");
    const auto length = static_cast<std::size_t>(lib.vax_integer(reply + 1, 2));
    if (3 + length + 1 > sizeof reply) throw DatabaseError("Unexpected reply from the service manager");
    line = fromServerLine(std::string_view(reply + 3, length));
    return length > 0 || reply[3 + length] == isc_info_truncated;
}

std::vector<char> backupRequest(const std::string& database, const std::string& backupFile) {
    std::vector<char> block{isc_action_svc_backup};
    appendText(block, isc_spb_dbname, database, true);
    appendText(block, isc_spb_bkp_file, backupFile, true);
    block.push_back(isc_spb_verbose);
    return block;
}

std::vector<char> restoreRequest(const std::string& backupFile, const std::string& database) {
    std::vector<char> block{isc_action_svc_restore};
    appendText(block, isc_spb_bkp_file, backupFile, true);
    appendText(block, isc_spb_dbname, database, true);
    appendNumber(block, isc_spb_options, isc_spb_res_replace);
    block.push_back(isc_spb_verbose);
    return block;
}

void runService(const ServiceLogin& login, const std::vector<char>& request,
                const std::function<void(const std::string&)>& onLine) {
    ServiceManager manager(login);
    manager.start(request);
    std::string line;
    while (manager.nextLine(line))
        if (!line.empty()) onLine(line);
}

}  // namespace db
