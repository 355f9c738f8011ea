#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "attachment.h"
#include "statement.h"
#include "transaction.h"
#include "values.h"

namespace engine {

// What a declared field holds and how it is sent.
enum class FieldKind {
    Integer,     // 32-bit integer, INTEGER
    BigInteger,  // 64-bit integer, BIGINT
    Decimal,     // exact numeric (its scale), held in ten-thousandths
    Double,      // DOUBLE PRECISION
    Text,        // VARCHAR(length)
    FixedText,   // CHAR(length)
    Date,        // DATE
    DateTime,    // TIMESTAMP
    TextBlob,    // BLOB SUB_TYPE TEXT; never set by the system
    Blob,        // BLOB; never set by the system
};

// One column as the system declares it.
struct FieldDeclaration {
    std::string_view name;
    FieldKind kind;
    int length = 20;  // text kinds: most characters
    int scale = 0;
    bool required = false;
};

// A destination table as a writer knows it.
struct TableDeclaration {
    std::string_view table;                    // e.g. "CLIENTES"
    std::span<const FieldDeclaration> fields;  // in declaration order
    std::string_view insertSql;                // "insert into ... values (:A, ...)"
    std::string_view refreshSql;               // "Select ... from ... where KEY = :KEY"
};

// The four destination tables.
extern const TableDeclaration kClientesDeclaration;
extern const TableDeclaration kFornecedoresDeclaration;
extern const TableDeclaration kGrupoDeclaration;
extern const TableDeclaration kProdutosDeclaration;

class BlockInsert;
class TableWriter;
struct FieldValue;

// A declared field of a writer, through which the current row's slot is set and read.
class WriterField {
public:
    // Set: the writer must be inserting, otherwise "Not in edit mode".
    void setText(const std::string& value);
    // Sets the first `most` characters of a source text (the import's own cut); a refusal of
    // the text as too long names the source text's whole length.
    void setFirstCharacters(const std::string& sourceText, std::size_t most);
    void setInteger(std::int32_t value);
    void setDouble(double value);
    void setDateTime(const db::DateTime& value);

    // Read from the current row: 0 / the empty text when null or when there is no current row.
    std::int32_t asInteger() const;
    std::string asText() const;
    // The current row's slot as it would be sent; none when there is no current row.
    const FieldValue* slot() const;

    const FieldDeclaration& declaration() const;

private:
    friend class TableWriter;
    WriterField(TableWriter& writer, std::size_t index) : writer_(&writer), index_(index) {}
    TableWriter* writer_;
    std::size_t index_;
};

// An insert-only row buffer bound to one destination table: open, then per row start a new
// row, set fields, post; the import commits the writer's transaction after each post. Posted in
// blocks, a row that passes the writer's own checks is queued on blocks() instead, and the
// import sends the queue.
class TableWriter : public db::AttachmentUser {
public:
    TableWriter(std::string name, db::Attachment& attachment, db::Transaction& transaction,
                const TableDeclaration& declaration);
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    const std::string& name() const { return name_; }
    db::Transaction& transaction() const { return transaction_; }

    bool isOpen() const;
    void open();
    // Opens the writer to fill rows and check them (checkRow) without ever posting them:
    // prepares only its read of the table, so that the right to SELECT is enough.
    void openForChecks();
    void startNewRow();
    // The declared field of that name, without regard to letter case; otherwise
    // "<writer>: Field '<name>' not found".
    WriterField& fieldByName(std::string_view name);
    // Fails, as post would before sending the row, when a required field is null, a decimal
    // cannot be sent or a text is longer than its column; the writer must be inserting.
    void checkRow() const;
    void post();
    void close();

    // From now until the writer closes: with mostRows above 0, post queues its row on blocks()
    // (at most mostRows rows per block) instead of sending it; with 0 it sends each row again.
    // The writer must be open. A table with a default or computed column reads back only the
    // last row queued, when a field of it is read once its block was sent.
    void postInBlocks(std::size_t mostRows);
    // The queue of a writer posting in blocks; none otherwise.
    BlockInsert* blocks() const;

    void attachmentClosing() noexcept override;

private:
    friend class WriterField;
    struct Impl;
    std::string name_;
    db::Attachment& attachment_;
    db::Transaction& transaction_;
    std::unique_ptr<Impl> impl_;
};

}  // namespace engine
