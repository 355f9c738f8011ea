// Reads a 10-column table through the access layer's read cursor and through a bare
// client-library fetch loop, and prints rows per second and peak memory of each.
//
//   cursor_bench [rows]        creates the table (default 1,000,000 rows) and compares
//
// Each measurement runs in a child process of its own so that its peak memory (VmHWM) is its
// own; memory is also measured for 1,000 rows to show that it does not grow with the table.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "attachment.h"
#include "child_process.h"
#include "client_library.h"
#include "statement.h"
#include "transaction.h"

namespace {

constexpr const char* kQuery = "SELECT * FROM LEITURA";

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The access layer: open, first, then next until the end, reading one column per row.
long long readWithLayer(const std::string& connection, long long limit) {
    db::Attachment attachment("IBDBOrigem");
    db::Transaction transaction("IBTransOrigem");
    transaction.setParams({"read_committed", "rec_version", "nowait"});
    transaction.setDefaultAttachment(&attachment);
    attachment.setDefaultTransaction(&transaction);
    attachment.setParams({"user_name=sysdba", "password=pinewheel"});
    attachment.setConnectionString(connection);
    long long rows = 0;
    long long sum = 0;
    {
        db::Statement cursor("IBQueryOrigem", attachment, transaction);
        cursor.setText(std::string(kQuery) + " ROWS " + std::to_string(limit));
        cursor.open();
        const db::Column id = cursor.column("ID");
        for (cursor.first(); !cursor.eof(); cursor.next()) {
            sum += id.asInteger();
            ++rows;
        }
    }
    attachment.close();
    return sum == 0 ? -1 : rows;
}

// The same read with nothing but isc_ calls.
long long readBare(const std::string& connection, long long limit) {
    const db::ClientLibrary& lib = db::clientLibrary();
    ISC_STATUS_ARRAY status{};
    isc_db_handle database = 0;
    isc_tr_handle transaction = 0;
    isc_stmt_handle statement = 0;
    const char dpb[] = {1, 28, 6, 's', 'y', 's', 'd', 'b', 'a', 29, 9, 'p', 'i', 'n', 'e', 'w', 'h', 'e', 'e', 'l'};
    const char tpb[] = {3, 15, 17, 7};
    auto check = [&](ISC_STATUS result) {
        if (result != 0) {
            std::fprintf(stderr, "isc call failed: %ld\n", static_cast<long>(status[1]));
            std::exit(1);
        }
    };
    check(lib.attach_database(status, static_cast<short>(connection.size()), connection.c_str(), &database, sizeof dpb,
                              dpb));
    struct {
        isc_db_handle* db;
        int length;
        const char* tpb;
    } teb{&database, sizeof tpb, tpb};
    check(lib.start_multiple(status, &transaction, 1, &teb));
    check(lib.dsql_alloc_statement2(status, &database, &statement));
    const std::string sql = std::string(kQuery) + " ROWS " + std::to_string(limit);
    std::vector<char> sqldaMemory(XSQLDA_LENGTH(16));
    auto* sqlda = reinterpret_cast<XSQLDA*>(sqldaMemory.data());
    sqlda->version = SQLDA_VERSION1;
    sqlda->sqln = 16;
    check(lib.dsql_prepare(status, &transaction, &statement, static_cast<unsigned short>(sql.size()), sql.c_str(), 3,
                           sqlda));
    std::vector<char> buffer(4096);
    std::vector<short> nulls(static_cast<std::size_t>(sqlda->sqld));
    std::size_t offset = 0;
    for (short i = 0; i < sqlda->sqld; ++i) {
        XSQLVAR& v = sqlda->sqlvar[i];
        v.sqldata = buffer.data() + offset;
        v.sqlind = &nulls[static_cast<std::size_t>(i)];
        offset += (static_cast<std::size_t>(v.sqllen) + 2 + 7) / 8 * 8;
    }
    check(lib.dsql_execute(status, &transaction, &statement, 1, nullptr));
    long long rows = 0;
    long long sum = 0;
    while (lib.dsql_fetch(status, &statement, 1, sqlda) == 0) {
        ISC_LONG id;
        std::memcpy(&id, sqlda->sqlvar[0].sqldata, sizeof id);
        sum += id;
        ++rows;
    }
    check(lib.dsql_free_statement(status, &statement, DSQL_drop));
    check(lib.commit_transaction(status, &transaction));
    check(lib.detach_database(status, &database));
    return sum == 0 ? -1 : rows;
}

struct Measure {
    double rowsPerSecond = 0;
    long peakKb = 0;
};

// Runs one reader in a child process of its own.
Measure measure(const std::string& connection, long long rows, bool layer) {
    return inChildProcess([&] {
        const auto start = std::chrono::steady_clock::now();
        const long long read = layer ? readWithLayer(connection, rows) : readBare(connection, rows);
        Measure m{static_cast<double>(read) / secondsSince(start), peakMemoryKb()};
        if (read != rows) m.rowsPerSecond = -1;
        return m;
    });
}

void createTable(const std::string& path, long long rows) {
    const std::string script = "/tmp/cursor_bench.sql";
    std::ofstream sql(script);
    sql << "CREATE DATABASE 'localhost:" << path << "' USER 'SYSDBA' PASSWORD 'pinewheel' DEFAULT CHARACTER SET "
        << "ISO8859_1;\n"
        << "CREATE TABLE LEITURA (ID INTEGER, NOME VARCHAR(60), CIDADE VARCHAR(30), UF CHAR(2), CEP VARCHAR(10),\n"
        << "  PRECO NUMERIC(15,4), QTD DOUBLE PRECISION, CADASTRO TIMESTAMP, NASCIMENTO DATE, OBS VARCHAR(100));\n"
        << "SET TERM ^;\nEXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= " << rows << ") DO BEGIN\n"
        << "  INSERT INTO LEITURA VALUES (:I, 'Cliente numero ' || :I, 'SAO PAULO', 'SP', '01310-100',\n"
        << "    :I * 1.25, :I / 3.0, CURRENT_TIMESTAMP, CURRENT_DATE, 'Observacao ' || :I);\n"
        << "  I = I + 1; END END^\nSET TERM ;^\nCOMMIT;\n";
    sql.close();
    if (std::system(("isql-fb -q -bail -i " + script).c_str()) != 0) std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    const long long rows = argc > 1 ? std::atoll(argv[1]) : 1'000'000;
    char folder[] = "/tmp/cursor-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr) return 1;
    ::chmod(folder, 0777);
    const std::string path = std::string(folder) + "/leitura.fdb";
    std::printf("creating %lld rows...\n", rows);
    createTable(path, rows);
    const std::string connection = "localhost:" + path;

    measure(connection, rows, true);  // warm the server's page cache
    const Measure bare = measure(connection, rows, false);
    const Measure layer = measure(connection, rows, true);
    const Measure layerSmall = measure(connection, 1000, true);
    const Measure bareSmall = measure(connection, 1000, false);

    std::printf("rows                 %lld, 10 columns\n", rows);
    std::printf("bare fetch loop      %10.0f rows/s   peak %6ld kB (1,000 rows: %ld kB)\n", bare.rowsPerSecond,
                bare.peakKb, bareSmall.peakKb);
    std::printf("access layer cursor  %10.0f rows/s   peak %6ld kB (1,000 rows: %ld kB)\n", layer.rowsPerSecond,
                layer.peakKb, layerSmall.peakKb);
    std::printf("time ratio layer/bare  %.3f (target <= 1.10)\n", bare.rowsPerSecond / layer.rowsPerSecond);
    std::printf("layer peak growth      %ld kB from 1,000 to %lld rows (target <= 10240 kB)\n",
                layer.peakKb - layerSmall.peakKb, rows);
    std::system((std::string("rm -rf ") + folder).c_str());
    return 0;
}
