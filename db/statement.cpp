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

std::size_t alignUp(std::size_t offset, std::size_t alignment) { return (offset + alignment - 1) / alignment * alignment; }

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
            const std::size_t length = static_cast<std::size_t>(v.sqllen) + (baseType(v.sqltype) == SQL_VARYING ? 2 : 0);
            v.sqlind = reinterpret_cast<short*>(data.data() + alignUp(offsets[i] + std::max(length, minimumPerVariable), 2));
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
    lines_.clear();
    textChanged();
}

void Statement::addLine(std::string_view line) {
    lines_.emplace_back(line);
    textChanged();
}

void Statement::setText(std::string_view text) {
    lines_.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!(end == text.size() && line.empty() && !lines_.empty())) lines_.emplace_back(line);
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
    fail("Parameter '" + std::string(name) + "' not found");
}

void Statement::prepare() {
    if (lines_.empty()) throw DatabaseError("Empty SQL Statement");
    attachment_.open();
    if (!transaction_.isActive()) transaction_.start();
    if (isPrepared()) return;
    if (parsedText_.size() < 2) throw DatabaseError("Empty SQL Statement");

    const ClientLibrary& lib = clientLibrary();
    ISC_STATUS_ARRAY status{};
    if (lib.dsql_alloc_statement2(status, attachment_.handle(), &handle_) != 0) {
        handle_ = 0;
        attachment_.raise(status);
    }
    const std::string sql = toCodePage(parsedText_);
    if (lib.dsql_prepare(status, transaction_.handle(), &handle_, static_cast<unsigned short>(sql.size()), sql.c_str(),
                         static_cast<unsigned short>(attachment_.sqlDialect()), nullptr) != 0) {
        unprepare();
        attachment_.raise(status);
    }
    const char item = isc_info_sql_stmt_type;
    char reply[16] = {};
    if (lib.dsql_sql_info(status, &handle_, 1, &item, sizeof reply, reply) != 0) {
        unprepare();
        attachment_.raise(status);
    }
    statementType_ = reply[0] == isc_info_sql_stmt_type
                         ? static_cast<int>(lib.vax_integer(reply + 3, static_cast<short>(lib.vax_integer(reply + 1, 2))))
                         : 0;

    auto describe = [&](std::unique_ptr<Sqlda>& sqlda, bool bind, std::size_t expected) {
        sqlda = std::make_unique<Sqlda>(static_cast<short>(expected));
        for (int attempt = 0; attempt < 2; ++attempt) {
            const ISC_STATUS result = bind ? lib.dsql_describe_bind(status, &handle_, 1, sqlda->get())
                                           : lib.dsql_describe(status, &handle_, 1, sqlda->get());
            if (result != 0) {
                unprepare();
                attachment_.raise(status);
            }
            if (sqlda->described() <= sqlda->get()->sqln) break;
            sqlda->resize(sqlda->described());
        }
    };
    describe(input_, true, params_.size());
    paramDescriptions_.clear();
    for (short i = 0; i < input_->described(); ++i) {
        const XSQLVAR& v = input_->var(static_cast<std::size_t>(i));
        paramDescriptions_.push_back(
            {"", baseType(v.sqltype), v.sqlsubtype, v.sqlscale, v.sqllen});
    }
    input_->allocate(16);
    columns_.clear();
    if (isSelect()) {
        describe(output_, false, 32);
        for (short i = 0; i < output_->described(); ++i) {
            const XSQLVAR& v = output_->var(static_cast<std::size_t>(i));
            columns_.push_back({fromCodePage(std::string_view(v.aliasname, static_cast<std::size_t>(v.aliasname_length))),
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

void Statement::bindParameters() {
    const auto count = static_cast<std::size_t>(input_->described());
    boundTexts_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        XSQLVAR& v = input_->var(i);
        const FieldDescription& described = paramDescriptions_[i];
        // Each variable owns at least 16 bytes, enough for every non-text value; a text
        // points at its converted bytes instead.
        v.sqldata = input_->slots[i];
        *v.sqlind = 0;
        v.sqlscale = 0;
        static const Parameter kUnset("");
        const Parameter& p = i < params_.size() ? params_[i] : kUnset;
        switch (p.kind()) {
        case Parameter::Kind::Null:
            v.sqltype = static_cast<short>(described.type | kNullFlag);
            v.sqllen = described.length;
            v.sqlscale = described.scale;
            *v.sqlind = -1;
            break;
        case Parameter::Kind::Integer: {
            const auto value = static_cast<ISC_LONG>(p.integer_);
            v.sqltype = SQL_LONG | kNullFlag;
            v.sqllen = sizeof value;
            std::memcpy(v.sqldata, &value, sizeof value);
            break;
        }
        case Parameter::Kind::BigInteger:
        case Parameter::Kind::Scaled: {
            const ISC_INT64 value = p.integer_;
            v.sqltype = SQL_INT64 | kNullFlag;
            v.sqllen = sizeof value;
            v.sqlscale = static_cast<short>(p.kind() == Parameter::Kind::Scaled ? p.scale_ : 0);
            std::memcpy(v.sqldata, &value, sizeof value);
            break;
        }
        case Parameter::Kind::Double:
            v.sqltype = SQL_DOUBLE | kNullFlag;
            v.sqllen = sizeof p.double_;
            std::memcpy(v.sqldata, &p.double_, sizeof p.double_);
            break;
        case Parameter::Kind::Date: {
            const ISC_DATE value = p.date_.day + kIscDateOffset;
            v.sqltype = SQL_TYPE_DATE | kNullFlag;
            v.sqllen = sizeof value;
            std::memcpy(v.sqldata, &value, sizeof value);
            break;
        }
        case Parameter::Kind::Timestamp: {
            const ISC_TIMESTAMP value{p.date_.day + kIscDateOffset, p.date_.time};
            v.sqltype = SQL_TIMESTAMP | kNullFlag;
            v.sqllen = sizeof value;
            std::memcpy(v.sqldata, &value, sizeof value);
            break;
        }
        case Parameter::Kind::Text: {
            std::string& bytes = boundTexts_[i];
            bytes = toCodePage(p.text_);
            if (isTextType(described.type) && described.length > 0 && bytes.size() > static_cast<std::size_t>(described.length))
                throw DatabaseError("Trying to store a string of length " + std::to_string(bytes.size()) +
                                    " into a field that can only contain " + std::to_string(described.length));
            v.sqltype = SQL_TEXT | kNullFlag;
            v.sqlsubtype = isTextType(described.type) ? described.subType : short{0};
            v.sqllen = static_cast<short>(bytes.size());
            v.sqldata = bytes.data();
            break;
        }
        }
    }
}

void Statement::execute() {
    if (cursorOpen_) fail("Cannot perform this operation on an open dataset");
    prepare();
    bindParameters();
    ISC_STATUS_ARRAY status{};
    const ClientLibrary& lib = clientLibrary();
    if (lib.dsql_execute(status, transaction_.handle(), &handle_, 1, input_->get()) != 0) attachment_.raise(status);
    // A SELECT run as a command leaves no cursor behind.
    if (isSelect() && lib.dsql_free_statement(status, &handle_, DSQL_close) != 0) attachment_.raise(status);
}

void Statement::open() {
    if (cursorOpen_) return;
    prepare();
    bindParameters();
    ISC_STATUS_ARRAY status{};
    if (clientLibrary().dsql_execute(status, transaction_.handle(), &handle_, 1, input_->get()) != 0)
        attachment_.raise(status);
    cursorOpen_ = true;
    recordCount_ = 0;
    eof_ = !fetch();
    bof_ = true;
}

bool Statement::fetch() {
    ISC_STATUS_ARRAY status{};
    const ISC_STATUS result = clientLibrary().dsql_fetch(status, &handle_, 1, output_->get());
    if (result == 100) return false;
    if (result != 0) attachment_.raise(status);
    ++recordCount_;
    return true;
}

void Statement::close() {
    if (!cursorOpen_) return;
    cursorOpen_ = false;
    ISC_STATUS_ARRAY status{};
    if (transaction_.isActive() && clientLibrary().dsql_free_statement(status, &handle_, DSQL_close) != 0)
        attachment_.raise(status);
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

bool Column::isNull() const {
    return statement_.recordCount_ == 0 || *statement_.output_->var(index_).sqlind < 0;
}

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
        return formatScaled(asStoredInteger(), d.scale);
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return formatDouble(asDouble());
    case SQL_TYPE_DATE:
        return formatDate(asDateTime());
    case SQL_TIMESTAMP:
        return formatTimestamp(asDateTime());
    case SQL_TYPE_TIME:
        return formatTime(asDateTime());
    case SQL_BOOLEAN:
        return *reinterpret_cast<const unsigned char*>(data()) != 0 ? "True" : "False";
    case SQL_BLOB: {
        const ClientLibrary& lib = clientLibrary();
        ISC_QUAD id;
        std::memcpy(&id, data(), sizeof id);
        ISC_STATUS_ARRAY status{};
        isc_blob_handle blob = 0;
        if (lib.open_blob2(status, statement_.attachment_.handle(), statement_.transaction_.handle(), &blob, &id, 0,
                           nullptr) != 0)
            statement_.attachment_.raise(status);
        std::string bytes;
        char segment[8192];
        for (;;) {
            unsigned short got = 0;
            const ISC_STATUS result = lib.get_segment(status, &blob, &got, sizeof segment, segment);
            if (result != 0 && result != isc_segment) break;
            bytes.append(segment, got);
        }
        const bool ended = status[1] == isc_segstr_eof;
        ISC_STATUS_ARRAY closeStatus{};
        lib.close_blob(closeStatus, &blob);
        if (!ended) statement_.attachment_.raise(status);
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
        return roundScaled(asStoredInteger(), d.scale);
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return roundDouble(asDouble());
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
    case SQL_INT64: {
        double value = static_cast<double>(asStoredInteger());
        for (short k = 0; k > d.scale; --k) value /= 10;
        return value;
    }
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
        return parseDouble(asText());
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
        return parseDateTime(asText());
    default:
        cannotRead("a date");
    }
}

}  // namespace db
