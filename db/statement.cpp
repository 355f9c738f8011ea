#include "statement.h"

#include <algorithm>
#include <cstring>

#include "client_library.h"
#include "codepage.h"
#include "database_error.h"
#include "named_parameters.h"
#include "text.h"
#include "transaction.h"

namespace db {

namespace {

// Days between Firebird's day zero (17 November 1858) and 30 December 1899.
constexpr std::int32_t kIscDateOffset = 15018;

constexpr short kNullFlag = 1;

short baseType(short sqltype) { return static_cast<short>(sqltype & ~kNullFlag); }

bool isTextType(short type) { return type == SQL_TEXT || type == SQL_VARYING; }

std::size_t alignUp(std::size_t offset, std::size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

}  // namespace

// An XSQLDA and the buffer its variables point into, owned together.
struct Statement::Sqlda {
    std::vector<char> header;
    std::vector<char> data;
    std::vector<char*> slots;  // each variable's own place in data

    explicit Sqlda(short count) { resize(count); }
    XSQLDA* get() { return reinterpret_cast<XSQLDA*>(header.data()); }
    const XSQLDA* get() const { return reinterpret_cast<const XSQLDA*>(header.data()); }
    XSQLVAR& var(std::size_t i) { return get()->sqlvar[i]; }
    const XSQLVAR& var(std::size_t i) const { return get()->sqlvar[i]; }
    short described() const { return get()->sqld; }

    void resize(short count) {
        header.assign(XSQLDA_LENGTH(count < 1 ? 1 : count), 0);
        get()->version = SQLDA_VERSION1;
        get()->sqln = count < 1 ? short{1} : count;
    }

    // One contiguous allocation for every variable's value and null indicator.
    void allocate(std::size_t minimumPerVariable) {
        const auto n = static_cast<std::size_t>(described());
        std::vector<std::size_t> offsets(n);
        std::size_t size = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const XSQLVAR& v = var(i);
            std::size_t length = static_cast<std::size_t>(v.sqllen) + (baseType(v.sqltype) == SQL_VARYING ? 2 : 0);
            if (length < minimumPerVariable) length = minimumPerVariable;
            size = alignUp(size, 8);
            offsets[i] = size;
            size += length;
            size = alignUp(size, 2) + sizeof(short);
        }
        data.assign(size, 0);
        slots.assign(n, nullptr);
        for (std::size_t i = 0; i < n; ++i) {
            XSQLVAR& v = var(i);
            slots[i] = data.data() + offsets[i];
            v.sqldata = slots[i];
            const std::size_t length =
                static_cast<std::size_t>(v.sqllen) + (baseType(v.sqltype) == SQL_VARYING ? 2 : 0);
            v.sqlind =
                reinterpret_cast<short*>(data.data() + alignUp(offsets[i] + std::max(length, minimumPerVariable), 2));
            v.sqltype = static_cast<short>(v.sqltype | kNullFlag);
        }
    }
};

Statement::Statement(std::string name, Attachment& attachment, Transaction& transaction)
    : name_(std::move(name)), attachment_(attachment), transaction_(transaction) {
    attachment_.addUser(this);
    transaction_.addStatement(this);
}

Statement::~Statement() {
    unprepare();
    transaction_.removeStatement(this);
    attachment_.removeUser(this);
}

void Statement::fail(const std::string& message) const { throw DatabaseError(name_ + ": " + message); }

void Statement::clearText() {
    positionalParameters_.reset();
    lines_.clear();
    textChanged();
}

void Statement::addLine(std::string_view line) {
    lines_.emplace_back(line);
    textChanged();
}

void Statement::setPositionalText(std::string_view sql, std::size_t parameters) {
    positionalParameters_ = parameters;
    replaceLines(sql);
}

void Statement::setText(std::string_view text) {
    positionalParameters_.reset();
    replaceLines(text);
}

void Statement::replaceLines(std::string_view text) {
    lines_.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // A line break at the very end starts no further line, and the empty text has none.
        if (!(end == text.size() && line.empty())) lines_.emplace_back(line);
        start = end + 1;
    }
    textChanged();
}

std::string Statement::text() const {
    std::string joined;
    for (const std::string& line : lines_) {
        joined += line;
        joined += "\r\n";
    }
    return joined;
}

void Statement::textChanged() {
    close();
    unprepare();
    if (positionalParameters_) {
        parsedText_ = text();
        params_.assign(*positionalParameters_, Parameter(""));
        return;
    }
    ParsedSql parsed = parseNamedParameters(text());
    parsedText_ = std::move(parsed.text);
    std::vector<Parameter> params;
    params.reserve(parsed.names.size());
    for (std::string& name : parsed.names) {
        Parameter param(std::move(name));
        for (const Parameter& old : params_) {
            if (sameName(old.name(), param.name())) {
                param = old;
                break;
            }
        }
        params.push_back(std::move(param));
    }
    params_ = std::move(params);
}

Parameter& Statement::param(std::string_view name) {
    for (Parameter& p : params_)
        if (sameName(p.name(), name)) return p;
    // The program names its own parameters: one missing from the text is its own fault.
    throw DatabaseError::internal(name_ + ": Parameter '" + std::string(name) + "' not found");
}

void Statement::prepare() {
    if (lines_.empty()) throw DatabaseError("Empty SQL Statement");
    attachment_.open();
    if (!transaction_.isActive()) transaction_.start();
    if (isPrepared()) return;
    if (parsedText_.size() < 2) throw DatabaseError("Empty SQL Statement");

    const ClientLibrary& lib = clientLibrary();
    attachment_.call(
        [&](ISC_STATUS* status) { return lib.dsql_alloc_statement2(status, attachment_.handle(), &handle_); },
        [this] { handle_ = 0; });
    const std::string sql = toCodePage(parsedText_);
    callOrUnprepare([&](ISC_STATUS* status) {
        return lib.dsql_prepare(status, transaction_.handle(), &handle_, static_cast<unsigned short>(sql.size()),
                                sql.c_str(), static_cast<unsigned short>(attachment_.sqlDialect()), nullptr);
    });
    const char item = isc_info_sql_stmt_type;
    char reply[16] = {};
    callOrUnprepare(
        [&](ISC_STATUS* status) { return lib.dsql_sql_info(status, &handle_, 1, &item, sizeof reply, reply); });
    statementType_ =
        reply[0] == isc_info_sql_stmt_type
            ? static_cast<int>(lib.vax_integer(reply + 3, static_cast<short>(lib.vax_integer(reply + 1, 2))))
            : 0;

    auto describe = [&](std::unique_ptr<Sqlda>& sqlda, bool bind, std::size_t expected) {
        sqlda = std::make_unique<Sqlda>(static_cast<short>(expected));
        for (int attempt = 0; attempt < 2; ++attempt) {
            callOrUnprepare([&](ISC_STATUS* status) {
                return bind ? lib.dsql_describe_bind(status, &handle_, 1, sqlda->get())
                            : lib.dsql_describe(status, &handle_, 1, sqlda->get());
            });
            if (sqlda->described() <= sqlda->get()->sqln) break;
            sqlda->resize(sqlda->described());
        }
    };
    describe(input_, true, params_.size());
    paramDescriptions_.clear();
    for (short i = 0; i < input_->described(); ++i) {
        const XSQLVAR& v = input_->var(static_cast<std::size_t>(i));
        paramDescriptions_.push_back({"", baseType(v.sqltype), v.sqlsubtype, v.sqlscale, v.sqllen});
    }
    input_->allocate(16);
    columns_.clear();
    if (isSelect()) {
        describe(output_, false, 32);
        for (short i = 0; i < output_->described(); ++i) {
            const XSQLVAR& v = output_->var(static_cast<std::size_t>(i));
            columns_.push_back(
                {fromCodePage(std::string_view(v.aliasname, static_cast<std::size_t>(v.aliasname_length))),
                 baseType(v.sqltype), v.sqlsubtype, v.sqlscale, v.sqllen});
        }
        output_->allocate(0);
    }
}

void Statement::unprepare() noexcept {
    if (handle_ != 0) {
        ISC_STATUS_ARRAY status{};
        if (attachment_.isOpen()) clientLibrary().dsql_free_statement(status, &handle_, DSQL_drop);
        handle_ = 0;
    }
    cursorOpen_ = false;
    statementType_ = 0;
    input_.reset();
    output_.reset();
    paramDescriptions_.clear();
    columns_.clear();
}

namespace {

// The most bytes a text value can carry in a parameter: its length field is a signed 16-bit number.
constexpr std::size_t kLongestText = 32767;

// The failure names the parameter it was binding and its value beside the text.
[[noreturn]] void textTooLong(std::size_t length, std::size_t limit, const std::string& parameter,
                              const std::string& value) {
    throw DatabaseError("Trying to store a string of length " + std::to_string(length) +
                        " into a field that can only contain " + std::to_string(limit))
        .withColumnFault({ColumnFault::Kind::TextTooLong, parameter, value, length, limit});
}

template <typename T>
void store(XSQLVAR& v, short type, const T& value, short scale = 0) {
    v.sqltype = static_cast<short>(type | kNullFlag);
    v.sqllen = sizeof value;
    v.sqlscale = scale;
    std::memcpy(v.sqldata, &value, sizeof value);
}

}  // namespace

void Statement::bindParameters() {
    const auto count = static_cast<std::size_t>(input_->described());
    boundTexts_.resize(count);
    static const Parameter::Value kUnset;
    for (std::size_t i = 0; i < count; ++i) bindParameter(i, i < params_.size() ? params_[i].value() : kUnset);
}

void Statement::bindParameter(std::size_t index, const Parameter::Value& value) {
    XSQLVAR& v = input_->var(index);
    const FieldDescription& described = paramDescriptions_[index];
    // Each variable owns at least 16 bytes, enough for every non-text value; a text points
    // at its converted bytes instead.
    v.sqldata = input_->slots[index];
    *v.sqlind = 0;
    struct Binder {
        Statement& statement;
        XSQLVAR& v;
        const FieldDescription& described;
        std::size_t index;

        void operator()(std::monostate) const {
            v.sqltype = static_cast<short>(described.type | kNullFlag);
            v.sqllen = described.length;
            v.sqlscale = described.scale;
            *v.sqlind = -1;
        }
        void operator()(std::int32_t value) const { store(v, SQL_LONG, static_cast<ISC_LONG>(value)); }
        void operator()(std::int64_t value) const { store(v, SQL_INT64, static_cast<ISC_INT64>(value)); }
        void operator()(const Parameter::Scaled& value) const {
            store(v, SQL_INT64, static_cast<ISC_INT64>(value.value), static_cast<short>(value.scale));
        }
        void operator()(double value) const { store(v, SQL_DOUBLE, value); }
        void operator()(const Parameter::Date& value) const {
            store(v, SQL_TYPE_DATE, static_cast<ISC_DATE>(value.value.day + kIscDateOffset));
        }
        void operator()(const Parameter::Timestamp& value) const {
            store(v, SQL_TIMESTAMP, ISC_TIMESTAMP{value.value.day + kIscDateOffset, value.value.time});
        }
        void operator()(const std::string& value) const {
            std::string& bytes = statement.boundTexts_[index];
            bytes = toCodePage(value);
            const bool textColumn = isTextType(described.type);
            const std::string& parameter =
                index < statement.params_.size() ? statement.params_[index].name() : std::string();
            if (textColumn && described.length > 0 && bytes.size() > static_cast<std::size_t>(described.length))
                textTooLong(bytes.size(), static_cast<std::size_t>(described.length), parameter, value);
            if (bytes.size() > kLongestText) textTooLong(bytes.size(), kLongestText, parameter, value);
            v.sqltype = SQL_TEXT | kNullFlag;
            v.sqlsubtype = textColumn ? described.subType : short{0};
            v.sqllen = static_cast<short>(bytes.size());
            v.sqlscale = 0;
            v.sqldata = bytes.data();
        }
    };
    std::visit(Binder{*this, v, described, index}, value);
}

void Statement::execute() {
    if (cursorOpen_) fail("Cannot perform this operation on an open dataset");
    prepare();
    bindParameters();
    const ClientLibrary& lib = clientLibrary();
    callInTransaction([&](ISC_STATUS* status) {
        return lib.dsql_execute(status, transaction_.handle(), &handle_, 1, input_->get());
    });
    // A SELECT run as a command leaves no cursor behind.
    if (isSelect())
        callInTransaction([&](ISC_STATUS* status) { return lib.dsql_free_statement(status, &handle_, DSQL_close); });
}

void Statement::open() {
    if (cursorOpen_) return;
    prepare();
    if (!isSelect()) fail("Cannot open a statement that returns no rows");
    bindParameters();
    callInTransaction([&](ISC_STATUS* status) {
        return clientLibrary().dsql_execute(status, transaction_.handle(), &handle_, 1, input_->get());
    });
    cursorOpen_ = true;
    recordCount_ = 0;
    eof_ = !fetch();
    bof_ = true;
}

bool Statement::fetch() {
    bool fetched = true;
    callInTransaction([&](ISC_STATUS* status) {
        const ISC_STATUS result = clientLibrary().dsql_fetch(status, &handle_, 1, output_->get());
        // Status 100 is the end of the rows, not a failure.
        fetched = result == 0;
        return result == 100 ? 0 : result;
    });
    if (fetched) ++recordCount_;
    return fetched;
}

void Statement::close() {
    if (!cursorOpen_) return;
    cursorOpen_ = false;
    if (transaction_.isActive())
        callInTransaction(
            [&](ISC_STATUS* status) { return clientLibrary().dsql_free_statement(status, &handle_, DSQL_close); });
}

void Statement::closeCursorQuietly() noexcept {
    if (!cursorOpen_) return;
    cursorOpen_ = false;
    ISC_STATUS_ARRAY status{};
    if (attachment_.isOpen()) clientLibrary().dsql_free_statement(status, &handle_, DSQL_close);
}

void Statement::attachmentClosing() noexcept {
    closeCursorQuietly();
    unprepare();
}

void Statement::first() {
    // Only the current row is kept, so the cursor can stand on its first row only before it
    // has moved on; that is how every caller uses it.
    if (recordCount_ > 1) fail("Cannot go back to the first row of a forward-only cursor");
    bof_ = true;
    eof_ = recordCount_ == 0;
}

void Statement::next() {
    if (eof_ || !cursorOpen_) return;
    if (!fetch()) {
        eof_ = true;
        return;
    }
    bof_ = false;
}

Column Statement::column(std::string_view name) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (sameName(columns_[i].name, name)) return Column(*this, i);
    fail("Field '" + std::string(name) + "' not found");
}

// Column reads.

const FieldDescription& Column::description() const { return statement_.columns_[index_]; }

const char* Column::data() const { return statement_.output_->var(index_).sqldata; }

bool Column::isNull() const { return statement_.recordCount_ == 0 || *statement_.output_->var(index_).sqlind < 0; }

void Column::cannotRead(const char* as) const {
    throw DatabaseError(statement_.name_ + ": Field '" + description().name + "' cannot be read as " + as);
}

std::int64_t Column::asStoredInteger() const {
    if (isNull()) return 0;
    switch (description().type) {
    case SQL_SHORT: {
        std::int16_t v;
        std::memcpy(&v, data(), sizeof v);
        return v;
    }
    case SQL_LONG: {
        ISC_LONG v;
        std::memcpy(&v, data(), sizeof v);
        return v;
    }
    case SQL_INT64: {
        ISC_INT64 v;
        std::memcpy(&v, data(), sizeof v);
        return v;
    }
    default:
        cannotRead("an integer");
    }
}

const RegionalFormat& Column::format() const { return statement_.attachment_.regionalFormat(); }

std::string Column::asText() const {
    if (isNull()) return {};
    const FieldDescription& d = description();
    switch (d.type) {
    case SQL_TEXT:
        return fromCodePage(std::string_view(data(), static_cast<std::size_t>(d.length)));
    case SQL_VARYING: {
        std::uint16_t length;
        std::memcpy(&length, data(), sizeof length);
        return fromCodePage(std::string_view(data() + 2, length));
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return formatScaled(asStoredInteger(), d.scale, format());
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return formatDouble(asDouble(), format());
    case SQL_TYPE_DATE:
        return formatDate(asDateTime(), format());
    case SQL_TIMESTAMP:
        return formatTimestamp(asDateTime(), format());
    case SQL_TYPE_TIME:
        return formatTime(asDateTime(), format());
    case SQL_BOOLEAN:
        return *reinterpret_cast<const unsigned char*>(data()) != 0 ? "True" : "False";
    case SQL_BLOB: {
        const ClientLibrary& lib = clientLibrary();
        ISC_QUAD id;
        std::memcpy(&id, data(), sizeof id);
        isc_blob_handle blob = 0;
        statement_.attachment_.call([&](ISC_STATUS* status) {
            return lib.open_blob2(status, statement_.attachment_.handle(), statement_.transaction_.handle(), &blob, &id,
                                  0, nullptr);
        });
        std::string bytes;
        char segment[8192];
        const auto closeBlob = [&] {
            ISC_STATUS_ARRAY ignored{};
            lib.close_blob(ignored, &blob);
        };
        for (bool more = true; more;) {
            statement_.attachment_.call(
                [&](ISC_STATUS* status) {
                    unsigned short got = 0;
                    const ISC_STATUS result = lib.get_segment(status, &blob, &got, sizeof segment, segment);
                    bytes.append(segment, got);
                    // A segment larger than the buffer comes in parts; the end of the blob ends the loop.
                    more = result == 0 || result == isc_segment;
                    return more || status[1] == isc_segstr_eof ? 0 : result;
                },
                closeBlob);
        }
        closeBlob();
        return fromCodePage(bytes);
    }
    default:
        cannotRead("a text");
    }
}

std::int32_t Column::asInteger() const {
    const FieldDescription& d = description();
    switch (d.type) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return roundScaled(asStoredInteger(), d.scale, format());
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return roundDouble(asDouble(), format());
    case SQL_TEXT:
    case SQL_VARYING: {
        const std::string text = asText();
        const std::optional<std::int32_t> value = parseInteger(text);
        if (!value) throwNotAnInteger(text);
        return *value;
    }
    default:
        cannotRead("an integer");
    }
}

double Column::asDouble() const {
    const FieldDescription& d = description();
    switch (d.type) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return scaledToDouble(asStoredInteger(), d.scale);
    case SQL_FLOAT: {
        if (isNull()) return 0;
        float v;
        std::memcpy(&v, data(), sizeof v);
        return v;
    }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
        if (isNull()) return 0;
        double v;
        std::memcpy(&v, data(), sizeof v);
        return v;
    }
    case SQL_TYPE_DATE:
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIME:
        return asDateTime().serial();
    case SQL_TEXT:
    case SQL_VARYING:
        return parseDouble(asText(), format());
    default:
        cannotRead("a floating-point number");
    }
}

DateTime Column::asDateTime() const {
    const FieldDescription& d = description();
    switch (d.type) {
    case SQL_TYPE_DATE: {
        if (isNull()) return {};
        ISC_DATE v;
        std::memcpy(&v, data(), sizeof v);
        return DateTime{v - kIscDateOffset, 0};
    }
    case SQL_TIMESTAMP: {
        if (isNull()) return {};
        ISC_TIMESTAMP v;
        std::memcpy(&v, data(), sizeof v);
        return DateTime{v.timestamp_date - kIscDateOffset, v.timestamp_time};
    }
    case SQL_TYPE_TIME: {
        if (isNull()) return {};
        ISC_TIME v;
        std::memcpy(&v, data(), sizeof v);
        return DateTime{0, v};
    }
    case SQL_TEXT:
    case SQL_VARYING:
        return parseDateTime(asText(), format());
    default:
        cannotRead("a date");
    }
}

}  // namespace db
