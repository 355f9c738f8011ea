#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <ibase.h>

#include "attachment.h"
#include "values.h"

namespace db {

class Transaction;

// A named parameter of a statement and the value set on it.
class Parameter {
public:
    // A value × 10^scale, scale ≤ 0; the server brings it to the column's own scale.
    struct Scaled {
        std::int64_t value;
        int scale;
    };
    struct Date {
        DateTime value;
    };
    struct Timestamp {
        DateTime value;
    };
    // No value set: sent as NULL.
    using Value =
        std::variant<std::monostate, std::int32_t, std::int64_t, Scaled, double, Date, Timestamp, std::string>;

    explicit Parameter(std::string name) : name_(std::move(name)) {}
    const std::string& name() const { return name_; }
    const Value& value() const { return value_; }
    bool isNull() const { return std::holds_alternative<std::monostate>(value_); }

    void setNull() { value_ = std::monostate{}; }
    void setInteger(std::int32_t value) { value_ = value; }
    void setBigInteger(std::int64_t value) { value_ = value; }
    void setScaled(std::int64_t value, int scale) { value_ = Scaled{value, scale}; }
    void setDouble(double value) { value_ = value; }
    void setDate(DateTime value) { value_ = Date{value}; }
    void setTimestamp(DateTime value) { value_ = Timestamp{value}; }
    void setText(std::string value) { value_ = std::move(value); }
    void set(Value value) { value_ = std::move(value); }

private:
    std::string name_;
    Value value_;
};

// How the server describes a parameter or a result column.
struct FieldDescription {
    std::string name;  // the column's alias in the result; empty for a parameter
    short type = 0;    // SQL type without the null flag
    short subType = 0;
    short scale = 0;
    short length = 0;  // bytes
};

class Statement;

// A column of the current row of an open cursor.
class Column {
public:
    Column(const Statement& statement, std::size_t index) : statement_(statement), index_(index) {}

    const FieldDescription& description() const;
    bool isNull() const;
    std::string asText() const;
    std::int32_t asInteger() const;
    double asDouble() const;
    DateTime asDateTime() const;
    // The stored integer of an integer or exact numeric column, before its scale.
    std::int64_t asStoredInteger() const;

private:
    const char* data() const;
    // The regional format of the statement's attachment.
    const RegionalFormat& format() const;
    [[noreturn]] void cannotRead(const char* as) const;

    const Statement& statement_;
    std::size_t index_;
};

// One SQL statement with named parameters, run as a command or opened as a forward-only read
// cursor. The cursor keeps only the current row: memory stays flat whatever the table's size.
class Statement : public AttachmentUser {
public:
    Statement(std::string name, Attachment& attachment, Transaction& transaction);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const std::string& name() const { return name_; }
    Attachment& attachment() const { return attachment_; }
    Transaction& transaction() const { return transaction_; }

    void clearText();
    void addLine(std::string_view line);
    // Replaces the whole text; the given text becomes the statement's lines.
    void setText(std::string_view text);
    // Replaces the whole text with SQL that goes to the server as it is, its parameters "?"
    // markers set by position (param(index)): for PSQL, where ":NAME" is a variable.
    void setPositionalText(std::string_view sql, std::size_t parameters);
    // The lines, each followed by CR LF.
    std::string text() const;

    std::size_t paramCount() const { return params_.size(); }
    Parameter& param(std::size_t index) { return params_[index]; }
    Parameter& param(std::string_view name);

    // Opens the attachment and starts the transaction when needed, then prepares once per text.
    void prepare();
    bool isPrepared() const { return handle_ != 0; }
    bool isSelect() const { return statementType_ == isc_info_sql_stmt_select; }
    const FieldDescription& paramDescription(std::size_t index) const { return paramDescriptions_[index]; }
    const std::vector<FieldDescription>& columns() const { return columns_; }

    void execute();
    void open();
    void close();
    bool isOpen() const { return cursorOpen_; }

    void first();
    void next();
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    bool isEmpty() const { return recordCount_ == 0; }
    int recordCount() const { return recordCount_; }

    Column column(std::string_view name) const;
    Column column(std::size_t index) const { return Column(*this, index); }

    // Closes the server cursor ignoring failures; used before the transaction ends.
    void closeCursorQuietly() noexcept;
    void attachmentClosing() noexcept override;

private:
    friend class Column;
    struct Sqlda;

    void replaceLines(std::string_view text);
    void textChanged();
    void unprepare() noexcept;
    void bindParameters();
    void bindParameter(std::size_t index, const Parameter::Value& value);
    // A call on the statement's attachment, in its transaction; a failure frees the statement
    // first.
    template <typename Call>
    void callOrUnprepare(Call&& clientCall) {
        attachment_.call(
            clientCall, [this] { unprepare(); }, &transaction_);
    }
    // A call on the statement's attachment, in its transaction.
    template <typename Call>
    void callInTransaction(Call&& clientCall) {
        attachment_.call(clientCall, NoCleanUp{}, &transaction_);
    }
    bool fetch();
    [[noreturn]] void fail(const std::string& message) const;

    std::string name_;
    Attachment& attachment_;
    Transaction& transaction_;
    std::vector<std::string> lines_;
    std::string parsedText_;
    std::vector<Parameter> params_;
    // Set by setPositionalText: the text's "?" markers, none named.
    std::optional<std::size_t> positionalParameters_;

    isc_stmt_handle handle_ = 0;
    int statementType_ = 0;
    std::vector<FieldDescription> paramDescriptions_;
    std::vector<FieldDescription> columns_;
    std::unique_ptr<Sqlda> input_;
    std::unique_ptr<Sqlda> output_;
    std::vector<std::string> boundTexts_;

    bool cursorOpen_ = false;
    bool bof_ = false;
    bool eof_ = true;
    int recordCount_ = 0;
};

}  // namespace db
