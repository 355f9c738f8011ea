#pragma once

#include <string>
#include <vector>

#include "attachment.h"
#include "transaction.h"

namespace test_support {

// The parameter lines of the destination attachment and of both transactions.
inline const std::vector<std::string> kDestinationParams = {"user_name=SYSDBA", "password=pinewheel",
                                                            "lc_ctype=ISO8859_1 "};
inline const std::vector<std::string> kSourceParams = {"user_name=sysdba", "password=pinewheel"};
inline const std::vector<std::string> kTransactionParams = {"read_committed", "rec_version", "nowait"};

// The regional format in which the tests read numbers and dates as text: a decimal comma and
// day/month/year, as the program's own.
inline constexpr db::RegionalFormat kTestRegionalFormat{',', "%02d/%02d/%04d", "%02u:%02u:%02u",
                                                        "%d/%d/%d%n %d:%d:%d%n"};

// An attachment paired with a transaction of its own, configured but not yet opened.
struct TestConnection {
    db::Attachment attachment;
    db::Transaction transaction;

    explicit TestConnection(const std::string& connectionString, std::vector<std::string> params = kDestinationParams,
                            const std::string& name = "Destino")
        : attachment(name), transaction(name + "Transaction") {
        transaction.setParams(kTransactionParams);
        transaction.setDefaultAttachment(&attachment);
        attachment.setDefaultTransaction(&transaction);
        attachment.setParams(std::move(params));
        attachment.setConnectionString(connectionString);
        attachment.setRegionalFormat(kTestRegionalFormat);
    }
};

}  // namespace test_support
