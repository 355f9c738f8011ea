#include "parameter_blocks.h"

#include <algorithm>
#include <array>
#include <string_view>

#include <ibase.h>

#include "codepage.h"
#include "database_error.h"
#include "text.h"

namespace db {

namespace {

// The database parameter-block names; each one's code is its position in the list, from 1.
// clang-format off
constexpr std::array<std::string_view, 85> kDpbNames = {
    "cdd_pathname", "allocation", "journal", "page_size", "num_buffers", "buffer_length", "debug",
    "garbage_collect", "verify", "sweep", "enable_journal", "disable_journal", "dbkey_scope",
    "number_of_users", "trace", "no_garbage_collect", "damaged", "license", "sys_user_name",
    "encrypt_key", "activate_shadow", "sweep_interval", "delete_shadow", "force_write", "begin_log",
    "quit_log", "no_reserve", "user_name", "password", "password_enc", "sys_user_name_enc", "interp",
    "online_dump", "old_file_size", "old_num_files", "old_file", "old_start_page", "old_start_seqno",
    "old_start_file", "drop_walfile", "old_dump_id", "wal_backup_dir", "wal_chkptlen", "wal_numbufs",
    "wal_bufsize", "wal_grp_cmt_wait", "lc_messages", "lc_ctype", "cache_manager", "shutdown",
    "online", "shutdown_delay", "reserved", "overwrite", "sec_attach", "disable_wal",
    "connect_timeout", "dummy_packet_interval", "gbak_attach", "sql_role_name", "set_page_buffers",
    "working_directory", "sql_dialect", "set_db_readonly", "set_db_sql_dialect", "gfix_attach",
    "gstat_attach", "set_db_charset", "gsec_attach", "address_path", "process_id", "no_db_triggers",
    "trusted_auth", "process_name", "trusted_role", "org_filename", "utf8_filename", "ext_call_depth",
    "auth_block", "client_version", "remote_protocol", "host_name", "os_user", "specific_auth_data",
    "sys_encrypt_password"};
// clang-format on

// The items this layer can write: each takes a text value.
constexpr std::array<std::string_view, 7> kSupportedDpbNames = {
    "user_name", "password", "password_enc", "sys_user_name", "lc_messages", "lc_ctype", "sql_role_name"};

// The transaction parameter-block names; codes are positions from 1.
constexpr std::array<std::string_view, 21> kTpbNames = {
    "consistency",      "concurrency",  "shared",         "protected",  "exclusive",   "wait",
    "nowait",           "read",         "write",          "lock_read",  "lock_write",  "verb_time",
    "commit_time",      "ignore_limbo", "read_committed", "autocommit", "rec_version", "no_rec_version",
    "restart_requests", "no_auto_undo", "no_savepoint"};

template <std::size_t N>
int codeOf(const std::array<std::string_view, N>& names, std::string_view name) {
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? 0 : static_cast<int>(it - names.begin()) + 1;
}

std::string withoutPrefix(std::string name, std::string_view prefix) {
    if (name.starts_with(prefix)) name.erase(0, prefix.size());
    return name;
}

}  // namespace

DatabaseParameterBlock buildDatabaseParameterBlock(const std::vector<std::string>& lines) {
    DatabaseParameterBlock block;
    block.bytes.push_back(static_cast<char>(isc_dpb_version1));
    block.utf8 = std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) > 0x7F; });
    });
    for (const std::string& line : lines) {
        const std::size_t eq = line.find('=');
        const std::string rawName = line.substr(0, eq);
        if (trimBlanks(rawName).empty()) continue;
        const std::string name = withoutPrefix(asciiLower(rawName), "isc_dpb_");
        const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
        const int code = codeOf(kDpbNames, name);
        if (code == 0) throw DatabaseError("DPB Constant (" + name + ") is unknown");
        if (codeOf(kSupportedDpbNames, name) == 0)
            throw DatabaseError("DPB Constant (isc_dpb_" + name + ") is unsupported");
        const std::string bytes = block.utf8 ? value : toCodePage(value);
        if (bytes.size() > 255) throw DatabaseError("DPB Constant (isc_dpb_" + name + ") value is too long");
        block.bytes.push_back(static_cast<char>(code));
        block.bytes.push_back(static_cast<char>(bytes.size()));
        block.bytes.insert(block.bytes.end(), bytes.begin(), bytes.end());
        if (name == "lc_ctype") block.characterSet = value;
    }
    if (block.utf8) {
        block.bytes.push_back(static_cast<char>(isc_dpb_utf8_filename));
        block.bytes.push_back(0);
    }
    return block;
}

std::vector<char> buildTransactionParameterBlock(const std::vector<std::string>& lines) {
    if (lines.empty()) return {};
    std::vector<char> block{static_cast<char>(isc_tpb_version3)};
    for (const std::string& line : lines) {
        if (trimBlanks(line).empty()) continue;
        const std::string name = withoutPrefix(asciiLower(line.substr(0, line.find('='))), "isc_tpb_");
        const int code = codeOf(kTpbNames, name);
        if (code == 0) throw DatabaseError("TPB Constant (" + name + ") is unknown");
        block.push_back(static_cast<char>(code));
    }
    return block;
}

}  // namespace db
