// How a sent value compares with what the destination stores, and what the last run's logs
// and their records explain; no database needed.
#include <gtest/gtest.h>

#include <ibase.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "log_record.h"
#include "logged_refusals.h"
#include "value_comparison.h"

namespace {

using engine::FieldDeclaration;
using engine::FieldKind;
using engine::FieldValue;

FieldValue decimal(std::int64_t tenThousandths) {
    FieldValue value;
    value.isNull = false;
    value.integer = tenThousandths;
    return value;
}

FieldValue text(const std::string& content) {
    FieldValue value;
    value.isNull = false;
    value.text = content;
    return value;
}

TEST(ValueComparison, DecimalsAreComparedAtTheColumnsScaleAsTheServerRoundsThem) {
    const FieldDeclaration field{.name = "PRECOCUSTO", .kind = FieldKind::Decimal, .scale = 2};
    const db::FieldDescription twoPlaces{"PRECOCUSTO", SQL_INT64, 0, -2, 8};
    const db::FieldDescription fourPlaces{"PRECOCUSTO", SQL_INT64, 0, -4, 8};
    struct Case {
        std::int64_t sent;
        const db::FieldDescription& column;
        std::int64_t stored;  // in ten-thousandths
    };
    const std::vector<Case> cases = {
        {12350, twoPlaces, 12400},                               // 1.2350 -> 1.24: a half goes away from zero
        {-12350, twoPlaces, -12400},                             // -1.2350 -> -1.24
        {12349, twoPlaces, 12300},                               // 1.2349 -> 1.23
        {-12349, twoPlaces, -12300}, {12250, twoPlaces, 12300},  // 1.2250 -> 1.23, not to the even 1.22
        {12345, fourPlaces, 12345},                              // nothing to round
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent);
        const FieldValue stored = engine::storedValue(decimal(c.sent), field, c.column);
        EXPECT_EQ(stored.integer, c.stored);
        EXPECT_TRUE(engine::sameValue(stored, decimal(c.stored), field.kind, c.column));
        EXPECT_FALSE(engine::sameValue(stored, decimal(c.stored + 100), field.kind, c.column));
    }
}

TEST(ValueComparison, TextsLoseTrailingBlanksAndGoThroughTheDestinationsCodePage) {
    const FieldDeclaration field{.name = "NOME", .kind = FieldKind::Text, .length = 10};
    const db::FieldDescription charColumn{"NOME", SQL_TEXT, 0, 0, 10};
    // A CHAR column pads with blanks; the sent text had none.
    EXPECT_TRUE(
        engine::sameValue(engine::storedValue(text("Ana"), field, charColumn), text("Ana"), field.kind, charColumn));
    EXPECT_TRUE(
        engine::sameValue(engine::storedValue(text("Ana  "), field, charColumn), text("Ana"), field.kind, charColumn));
    // Leading blanks and letter case count.
    EXPECT_FALSE(
        engine::sameValue(engine::storedValue(text(" Ana"), field, charColumn), text("Ana"), field.kind, charColumn));
    EXPECT_FALSE(
        engine::sameValue(engine::storedValue(text("ana"), field, charColumn), text("Ana"), field.kind, charColumn));
    // A character the code page lacks arrives as "?".
    EXPECT_EQ(engine::storedValue(text("Zé €"), field, charColumn).text, "Zé €");
    EXPECT_EQ(engine::storedValue(text("Ωmega"), field, charColumn).text, "?mega");
    // Null matches null only; the empty text is sent as null.
    EXPECT_FALSE(engine::sameValue(FieldValue{}, text("Ana"), field.kind, charColumn));
    EXPECT_TRUE(engine::sameValue(FieldValue{}, FieldValue{}, field.kind, charColumn));
}

TEST(ValueComparison, TodayMatchesTheRunsDayOrLaterUpToTheComparisonsDay) {
    FieldValue expected;
    expected.isNull = false;
    expected.dateTime = {45000, 0};
    auto on = [](std::int32_t day) {
        FieldValue value;
        value.isNull = false;
        value.dateTime = {day, 1234};
        return value;
    };
    EXPECT_TRUE(engine::sameDayOrLater(expected, on(45000), 44990));
    EXPECT_TRUE(engine::sameDayOrLater(expected, on(44990), 44990));
    EXPECT_FALSE(engine::sameDayOrLater(expected, on(44989), 44990));
    EXPECT_FALSE(engine::sameDayOrLater(expected, on(45001), 44990));
    EXPECT_FALSE(engine::sameDayOrLater(expected, FieldValue{}, 44990));
}

// The record beside the log, written and read back: the rows the destination refused, with
// the column fault the server's codes named, or none.
engine::LogRecord recordOf(const std::string& text) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        (std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "-quorel.log");
    std::ofstream(path.string() + std::string(engine::kLogRecordSuffix), std::ios::binary) << text;
    std::optional<engine::LogRecord> record = engine::LogRecord::read(path.string());
    std::filesystem::remove(path.string() + std::string(engine::kLogRecordSuffix));
    if (!record) throw std::runtime_error("no record read");
    return *record;
}

TEST(LoggedRefusals, AnEntryExplainsOnlyWhatItsRecordHasAsRefusedByTheDestinationWithTheCauseItsCodesNamed) {
    using Kind = db::ColumnFault::Kind;
    const engine::RunDatabases databases{"/dados/tavlo.fdb", "/dados/merak.fdb"};
    const engine::LogRecord record = recordOf(
        engine::logRecordHeader(databases) +
        engine::logRecordLine("CLIENTES", "12", db::ColumnFault{Kind::MissingReference, "CODVENDEDOR", "9"}) +
        engine::logRecordLine("CLIENTES", "13", std::nullopt) +
        engine::logRecordLine("FORNECEDORES", "4", std::nullopt) + engine::logRecordLine("GRUPO", "5", std::nullopt) +
        engine::logRecordLine("PRODUTOS", "6", std::nullopt) + engine::logRecordLine("VENDEDOR", "7", std::nullopt) +
        engine::logRecordLine("CLIENTES", "21", db::ColumnFault{Kind::Duplicate, "CODIGO", "21"}));
    EXPECT_EQ(record.databases, databases);

    engine::LoggedRefusals logged;
    logged.addLog("quorel.log",
                  "Erro na importação de CLIENTES no cód. cliente: 12\r\nviolation of FOREIGN KEY\r\n\r\n"
                  "Alerta!!! Na importação de CLIENTES no cliente: 13\r\nO Cliente: \"X\" possui o CNPJ inválido!\r\n"
                  "Erro na importação de FORNECEDORES no Registro 4\r\nfalha 4\r\n"
                  "Erro na importação de GRUPO no Registro 5\r\nfalha 5\r\n"
                  "Erro na importação de PRODUTO no Registro 6\r\nfalha 6\r"
                  "Erro na importação de VENDEDOR no Registro 7\r\nfalha 7\r\n"
                  "Erro na importação de VENDEDOR no Registro 9\r\nTrying to store a string of length 60\r\n"
                  "Erro no retorno do CÓDIGO DE CIDADE Cód. IBGE  8\r\n",
                  record);
    logged.addLog("quorel2.log", "Cod. Cliente: 21 Nome Cliente: Ana\r\n", record);
    struct Case {
        const char* table;
        const char* key;
        const char* reason;  // null: none
    };
    const std::vector<Case> cases = {
        // Classified by the server's codes: the outcome view's cause, with its column.
        {"CLIENTES", "12", "Referência inexistente (CODVENDEDOR)"},
        {"CLIENTES", "21", "Chave repetida (CODIGO)"},
        // Only the text: the log's line, said to be the log's.
        {"CLIENTES", "13", "quorel.log: O Cliente: \"X\" possui o CNPJ inválido!"},
        {"FORNECEDORES", "4", "quorel.log: falha 4"},
        {"GRUPO", "5", "quorel.log: falha 5"},
        {"PRODUTOS", "6", "quorel.log: falha 6"},
        {"VENDEDOR", "7", "quorel.log: falha 7"},
        // In the log but not refused by the destination: the import's own, not vouched for.
        {"VENDEDOR", "9", nullptr},
        {"PRODUTOS", "7", nullptr},
        {"CLIENTES", "8", nullptr},
        {"CLIENTES", "1", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.table) + " " + c.key);
        const std::string* reason = logged.find(c.table, c.key);
        if (c.reason == nullptr) {
            EXPECT_EQ(reason, nullptr);
        } else {
            ASSERT_NE(reason, nullptr);
            EXPECT_EQ(*reason, c.reason);
        }
    }
}

}  // namespace
