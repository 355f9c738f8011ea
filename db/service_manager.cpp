#include "service_manager.h"

#include <algorithm>
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

bool ServiceManager::nextBytes(std::string& bytes) {
    const ClientLibrary& lib = clientLibrary();
    const char item = isc_info_svc_to_eof;
    std::vector<char> reply(1 << 16);
    ISC_STATUS_ARRAY status{};
    if (lib.service_query(status, &handle_, nullptr, 0, nullptr, 1, &item,
                          static_cast<unsigned short>(reply.size() - 1), reply.data()) != 0)
        throw statusError(status);
    // The reply: the item, a two-byte length, the bytes and the byte after them, which says
    // whether the service has more (isc_info_truncated) or has ended (isc_info_end).
    if (reply[0] != isc_info_svc_to_eof) throw DatabaseError("Unexpected reply from the service manager");
    const auto length = static_cast<std::size_t>(static_cast<unsigned short>(lib.vax_integer(reply.data() + 1, 2)));
    if (3 + length + 1 > reply.size()) throw DatabaseError("Unexpected reply from the service manager");
    bytes.assign(reply.data() + 3, length);
    return length > 0 || reply[3 + length] != isc_info_end;
}

void ServiceManager::feed(const std::function<std::string(std::size_t)>& readBytes,
                          const std::function<void(const std::string&)>& onLine) {
    const ClientLibrary& lib = clientLibrary();
    // The most one request carries, within the two-byte lengths of a service block.
    constexpr std::size_t kMostBytes = 32 * 1024;
    const char items[] = {isc_info_svc_stdin, isc_info_svc_line};
    std::vector<char> reply(8 * 1024);
    std::size_t wanted = 0;
    while (true) {
        std::vector<char> send;
        if (wanted > 0) {
            const std::string bytes = readBytes(std::min(wanted, kMostBytes));
            send.push_back(isc_info_svc_line);
            send.push_back(static_cast<char>(bytes.size() & 0xFF));
            send.push_back(static_cast<char>((bytes.size() >> 8) & 0xFF));
            send.insert(send.end(), bytes.begin(), bytes.end());
        }
        ISC_STATUS_ARRAY status{};
        if (lib.service_query(status, &handle_, nullptr, static_cast<unsigned short>(send.size()),
                              send.empty() ? nullptr : send.data(), sizeof items, items,
                              static_cast<unsigned short>(reply.size()), reply.data()) != 0)
            throw statusError(status);
        // The reply holds how many bytes the server wants next and a line of its output, in
        // either order, ended by isc_info_end.
        wanted = 0;
        bool lineGiven = false;
        bool more = false;
        for (std::size_t at = 0; at < reply.size() && reply[at] != isc_info_end;) {
            const char item = reply[at++];
            if (item == isc_info_svc_stdin && at + 4 <= reply.size()) {
                wanted = static_cast<std::size_t>(static_cast<unsigned>(lib.vax_integer(reply.data() + at, 4)));
                at += 4;
            } else if (item == isc_info_svc_line && at + 2 <= reply.size()) {
                const auto length =
                    static_cast<std::size_t>(static_cast<unsigned short>(lib.vax_integer(reply.data() + at, 2)));
                at += 2;
                if (at + length > reply.size()) throw DatabaseError("Unexpected reply from the service manager");
                const std::string line = fromServerLine(std::string_view(reply.data() + at, length));
                at += length;
                lineGiven = length > 0;
                if (lineGiven) onLine(line);
            } else if (item == isc_info_truncated || item == isc_info_data_not_ready) {
                more = true;
            } else {
                throw DatabaseError("Unexpected reply from the service manager");
            }
        }
        if (wanted == 0 && !lineGiven && !more) return;
    }
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

std::vector<char> streamedBackupRequest(const std::string& database) {
    std::vector<char> block{isc_action_svc_backup};
    appendText(block, isc_spb_dbname, database, true);
    appendText(block, isc_spb_bkp_file, "stdout", true);
    return block;
}

std::vector<char> streamedRestoreRequest(const std::string& database, RestoreInto into) {
    std::vector<char> block{isc_action_svc_restore};
    appendText(block, isc_spb_bkp_file, "stdin", true);
    appendText(block, isc_spb_dbname, database, true);
    appendNumber(block, isc_spb_options, into == RestoreInto::NewDatabase ? isc_spb_res_create : isc_spb_res_replace);
    block.push_back(isc_spb_verbose);
    return block;
}

std::vector<char> validationRequest(const std::string& database) {
    std::vector<char> block{isc_action_svc_repair};
    appendText(block, isc_spb_dbname, database, true);
    appendNumber(block, isc_spb_options, isc_spb_rpr_validate_db | isc_spb_rpr_full);
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
