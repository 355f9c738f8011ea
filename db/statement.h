#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <ibase.h>

#include "attachment.h"
#include "values.h"

namespace db {

class Transaction;

// A named parameter of a statement and the value set on it.
class Parameter {
public:
    enum class Kind { Null, Integer, BigInteger, Scaled, Double, Date, Timestamp, Text };

    explicit Parameter(std::string name) : name_(std::move(name)) {}
    const std::string& name() const { return name_; }
    Kind kind() const { return kind_; }

    void setNull() { kind_ = Kind::Null; }
    void setInteger(std::int32_t value) { set(Kind::Integer, value); }
    void setBigInteger(std::int64_t value) { set(Kind::BigInteger, value); }
    // value × 10^scale, scale ≤ 0; the server brings it to the column's own scale.
    void setScaled(std::int64_t value, int scale) {
        set(Kind::Scaled, value);
        scale_ = scale;
    }
    void setDouble(double value) {
        kind_ = Kind::Double;
        double_ = value;
    }
    void setDate(DateTime value) {
        kind_ = Kind::Date;
        date_ = value;
    }
    void setTimestamp(DateTime value) {
        kind_ = Kind::Timestamp;
        date_ = value;
    }
    void setText(std::string value) {
        kind_ = Kind::Text;
        text_ = std::move(value);
    }

private:
    friend class Statement;
    void set(Kind kind, std::int64_t value) {
        kind_ = kind;
        integer_ = value;
    }

    std::string name_;
    Kind kind_ = Kind::Null;
    std::int64_t integer_ = 0;
    int scale_ = 0;
    double double_ = 0;
    DateTime date_;
    std::string text_;
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
    // The lines, each followed by CR LF.
    std::string text() const;
    const std::string& parsedText() const { return parsedText_; }

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

    void textChanged();
    void unprepare() noexcept;
    void bindParameters();
    bool fetch();
    [[noreturn]] void fail(const std::string& message) const;

    std::string name_;
    Attachment& attachment_;
    Transaction& transaction_;
    std::vector<std::string> lines_;
    std::string parsedText_;
    std::vector<Parameter> params_;

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
