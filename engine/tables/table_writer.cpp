#include "table_writer.h"

#include <utility>

#include "block_insert.h"
#include "database_error.h"
#include "table_writer_columns.h"
#include "table_writer_values.h"
#include "text.h"

namespace engine {

namespace {

// Whether any column of the table takes a default value or is computed: the server then
// fills in values that the row did not send, and every posted row is read back.
constexpr const char* kDefaultsOrComputedSql =
    "select count(*) from RDB$RELATION_FIELDS F "
    "join RDB$FIELDS D on D.RDB$FIELD_NAME = F.RDB$FIELD_SOURCE "
    "where F.RDB$RELATION_NAME = :RELATION_NAME and (F.RDB$DEFAULT_VALUE is not null "
    "or D.RDB$DEFAULT_VALUE is not null or D.RDB$COMPUTED_BLR is not null)";

bool isTextKind(FieldKind kind) { return kind == FieldKind::Text || kind == FieldKind::FixedText; }

}  // namespace

struct TableWriter::Impl {
    enum class State { Closed, Browsing, Inserting };

    // An insert parameter: the declared field it is bound from and, for a text parameter,
    // the most bytes the column takes (0 for other parameters).
    struct InsertBinding {
        std::size_t field;
        std::size_t textLimit;
    };

    Impl(const std::string& writerName, db::Attachment& attachment, db::Transaction& transaction,
         const TableDeclaration& tableDeclaration)
        : name(writerName),
          declaration(tableDeclaration),
          fields(declaration.fields.begin(), declaration.fields.end()),
          read(name, attachment, transaction),
          insert(name, attachment, transaction),
          refresh(name, attachment, transaction),
          row(fields.size()),
          posted(fields.size()) {
        read.setText("select * from " + std::string(declaration.table));
        insert.setText(declaration.insertSql);
        refresh.setText(declaration.refreshSql);
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i].required) requiredFields.push_back(i);
    }

    const std::string& name;  // the writer's
    const TableDeclaration& declaration;
    // The writer's copies of the declarations: open lowers a text field's length to its column's.
    std::vector<FieldDeclaration> fields;
    std::vector<WriterField> handles;  // one per declared field, handed out by fieldByName
    std::vector<std::size_t> requiredFields;

    db::Statement read;
    db::Statement insert;
    db::Statement refresh;
    // Filled at open, so that a post binds by position without looking up names.
    std::vector<InsertBinding> insertBindings;     // per insert parameter
    std::vector<std::size_t> refreshParamFields;   // per refresh parameter: its field
    std::vector<std::size_t> refreshColumnFields;  // per refresh column: its field
    bool refreshRows = false;

    State state = State::Closed;
    // Opened by openForChecks: rows are filled and checked, never posted.
    bool checksOnly = false;
    // A row has one slot per declared field: the columns that are not declared are never
    // set nor sent. Only two rows are held whatever the number of rows posted: the row being
    // filled (or pending after a failed post) and the last row posted.
    std::vector<FieldValue> row;
    std::vector<FieldValue> posted;
    bool hasPosted = false;
    // Posting in blocks: the queue, and whether the last row posted is still to be read back.
    std::unique_ptr<BlockInsert> blocks;
    bool readBackPending = false;

    [[noreturn]] void fail(const std::string& message) const { throw db::DatabaseError(name + ": " + message); }

    // A field the writer does not declare is the program's own fault, whatever the table holds.
    std::size_t fieldIndex(std::string_view fieldName) const {
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (db::sameName(fields[i].name, fieldName)) return i;
        throw db::DatabaseError::internal(name + ": Field '" + std::string(fieldName) + "' not found");
    }

    void open() {
        checksOnly = false;
        read.prepare();
        insert.prepare();
        refresh.prepare();
        refreshRows = hasDefaultsOrComputedColumns();
        matchFields();
        mapStatements();
        try {
            read.open();
        } catch (...) {
            read.closeCursorQuietly();
            throw;
        }
        dropRows();
        state = State::Browsing;
    }

    // Open to fill and check rows, never to post them: only the read statement is prepared,
    // so that nothing but the right to SELECT is needed. Every declared field is a parameter
    // of the INSERT, and a parameter is described as its column is: the text limits are the
    // read statement's.
    void openForChecks() {
        read.prepare();
        refreshRows = false;
        matchFields();
        insertBindings.clear();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const db::FieldDescription& column = readColumn(fields[i].name);
            insertBindings.push_back({i, isTextColumn(column) ? static_cast<std::size_t>(column.length) : 0});
        }
        refreshParamFields.clear();
        refreshColumnFields.clear();
        dropRows();
        checksOnly = true;
        state = State::Browsing;
    }

    const db::FieldDescription& readColumn(std::string_view fieldName) const {
        for (const db::FieldDescription& column : read.columns())
            if (db::sameName(column.name, fieldName)) return column;
        fail("Field '" + std::string(fieldName) + "' not found");
    }

    bool hasDefaultsOrComputedColumns() {
        db::Statement query(name, read.attachment(), read.transaction());
        query.setText(kDefaultsOrComputedSql);
        query.param("RELATION_NAME").setText(std::string(declaration.table));
        query.open();
        return query.column(0).asInteger() > 0;
    }

    // Every declared field against the read statement's column of its name.
    void matchFields() {
        const std::vector<db::FieldDescription>& columns = read.columns();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            FieldDeclaration& field = fields[i];
            field = declaration.fields[i];
            const std::string fieldName(field.name);
            const db::FieldDescription* column = nullptr;
            for (const db::FieldDescription& candidate : columns)
                if (db::sameName(candidate.name, fieldName)) column = &candidate;
            if (column == nullptr) fail("Field '" + fieldName + "' not found");
            if (!suitsKind(*column, field.kind))
                fail("Type mismatch for field '" + fieldName + "', expecting: " + typeName(field.kind) +
                     " actual: " + typeName(*column));
            if (field.kind == FieldKind::Decimal && -column->scale != field.scale)
                fail("Size mismatch for field '" + fieldName + "', expecting: " + std::to_string(field.scale) +
                     " actual: " + std::to_string(-column->scale));
            if (isTextKind(field.kind) && column->length < field.length) field.length = column->length;
        }
    }

    void mapStatements() {
        insertBindings.clear();
        for (std::size_t p = 0; p < insert.paramCount(); ++p) {
            const db::FieldDescription& described = insert.paramDescription(p);
            const std::size_t limit = isTextColumn(described) ? static_cast<std::size_t>(described.length) : 0;
            insertBindings.push_back({fieldIndex(insert.param(p).name()), limit});
        }
        refreshParamFields.clear();
        for (std::size_t p = 0; p < refresh.paramCount(); ++p)
            refreshParamFields.push_back(fieldIndex(refresh.param(p).name()));
        refreshColumnFields.clear();
        for (const db::FieldDescription& column : refresh.columns())
            refreshColumnFields.push_back(fieldIndex(column.name));
    }

    // A writer closed by its attachment's lost connection reports that loss, not its state.
    void requireInserting() const {
        if (state == State::Inserting) return;
        if (state == State::Closed && read.attachment().lostConnection()) throw *read.attachment().lostConnection();
        throw db::DatabaseError::internal("Not in edit mode");
    }

    // What post refuses before the server sees the row.
    void checkRow() const {
        requireInserting();
        for (std::size_t field : requiredFields)
            if (row[field].isNull)
                throw db::DatabaseError("Field '" + std::string(fields[field].name) + "' must have a value")
                    .withColumnFault({db::ColumnFault::Kind::Missing, std::string(fields[field].name), {}});
        for (const InsertBinding& binding : insertBindings) {
            const FieldValue& value = row[binding.field];
            if (!value.isNull && !value.fits) throwCannotHold(value, fields[binding.field], name);
            // Checked here, before the statement's own check, so that the text's first number
            // is the length of the text as the field kept it; the fault carries the source
            // text's own length, which is what has to be shortened in Tavlo.
            if (binding.textLimit > 0 && !value.isNull) {
                const std::size_t length = db::characterCount(value.text);
                // The field being bound is named beside the text: two columns may share a limit.
                if (length > binding.textLimit)
                    throw db::DatabaseError("Trying to store a string of length " + std::to_string(length) +
                                            " into a field that can only contain " + std::to_string(binding.textLimit))
                        .withColumnFault({db::ColumnFault::Kind::TextTooLong, std::string(fields[binding.field].name),
                                          value.text, value.sourceLength, binding.textLimit});
            }
        }
    }

    void post() {
        if (checksOnly) fail("Opened to check rows only");
        checkRow();
        for (std::size_t p = 0; p < insertBindings.size(); ++p) {
            const InsertBinding& binding = insertBindings[p];
            bindValue(insert.param(p), row[binding.field], fields[binding.field].kind);
        }
        if (blocks) {
            blocks->queue();
        } else {
            insert.execute();
            if (refreshRows) readBack(row);
        }
        readBackPending = blocks && refreshRows;
        std::swap(row, posted);
        hasPosted = true;
        state = State::Browsing;
    }

    // A posted row as the table holds it, found by its key.
    void readBack(std::vector<FieldValue>& target) {
        for (std::size_t p = 0; p < refreshParamFields.size(); ++p) {
            const std::size_t field = refreshParamFields[p];
            bindValue(refresh.param(p), target[field], fields[field].kind);
        }
        try {
            refresh.open();
            if (!refresh.isEmpty()) {
                for (std::size_t c = 0; c < refreshColumnFields.size(); ++c) {
                    const std::size_t field = refreshColumnFields[c];
                    readValue(target[field], refresh.column(c), fields[field].kind);
                }
            }
            refresh.close();
        } catch (...) {
            refresh.closeCursorQuietly();
            throw;
        }
    }

    void dropRows() {
        for (FieldValue& value : row) value.clear();
        hasPosted = false;
        readBackPending = false;
        if (blocks) blocks->clear();
    }

    // The slot of the current row: the row being filled or pending while inserting,
    // otherwise the last row posted; none when nothing was posted since open. A row posted in
    // a block is read back here, once its block was sent, and only when it went in.
    const FieldValue* current(std::size_t field) {
        if (state == State::Inserting) return &row[field];
        if (!hasPosted) return nullptr;
        if (readBackPending && blocks->queued() == 0) {
            readBackPending = false;
            if (blocks->lastRowWentIn()) readBack(posted);
        }
        return &posted[field];
    }

    FieldValue& slotToSet(std::size_t field) {
        requireInserting();
        return row[field];
    }
};

TableWriter::TableWriter(std::string name, db::Attachment& attachment, db::Transaction& transaction,
                         const TableDeclaration& declaration)
    : name_(std::move(name)),
      attachment_(attachment),
      transaction_(transaction),
      impl_(std::make_unique<Impl>(name_, attachment, transaction, declaration)) {
    impl_->handles.reserve(impl_->fields.size());
    for (std::size_t i = 0; i < impl_->fields.size(); ++i) impl_->handles.push_back(WriterField(*this, i));
    attachment_.addUser(this);
}

TableWriter::~TableWriter() { attachment_.removeUser(this); }

bool TableWriter::isOpen() const { return impl_->state != Impl::State::Closed; }

void TableWriter::open() {
    if (!isOpen()) impl_->open();
}

void TableWriter::openForChecks() {
    if (!isOpen()) impl_->openForChecks();
}

WriterField& TableWriter::fieldByName(std::string_view name) { return impl_->handles[impl_->fieldIndex(name)]; }

void TableWriter::startNewRow() {
    if (!isOpen()) {
        if (attachment_.lostConnection()) throw *attachment_.lostConnection();
        impl_->fail("Cannot perform this operation on a closed dataset");
    }
    // A row being filled, or pending after a failed post, is dropped without another attempt.
    for (FieldValue& value : impl_->row) value.clear();
    impl_->state = Impl::State::Inserting;
}

void TableWriter::checkRow() const { impl_->checkRow(); }

void TableWriter::post() { impl_->post(); }

void TableWriter::close() {
    if (!isOpen()) return;
    impl_->state = Impl::State::Closed;
    impl_->dropRows();
    impl_->blocks.reset();
    impl_->read.close();
}

void TableWriter::postInBlocks(std::size_t mostRows) {
    if (!isOpen()) impl_->fail("Cannot perform this operation on a closed dataset");
    impl_->readBackPending = false;
    impl_->blocks.reset();
    if (mostRows > 0) impl_->blocks = std::make_unique<BlockInsert>(impl_->insert, impl_->declaration.table, mostRows);
}

BlockInsert* TableWriter::blocks() const { return impl_->blocks.get(); }

void TableWriter::attachmentClosing() noexcept {
    // The writer's statements are users of the attachment too and let go of their handles.
    impl_->state = Impl::State::Closed;
    impl_->dropRows();
}

// Fields.

const FieldDeclaration& WriterField::declaration() const { return writer_->impl_->fields[index_]; }

void WriterField::setText(const std::string& value) {
    TableWriter::Impl& w = *writer_->impl_;
    assignText(w.slotToSet(index_), w.fields[index_], value, writer_->name());
}

void WriterField::setFirstCharacters(const std::string& sourceText, std::size_t most) {
    TableWriter::Impl& w = *writer_->impl_;
    FieldValue& slot = w.slotToSet(index_);
    assignText(slot, w.fields[index_], db::firstCharacters(sourceText, most), writer_->name());
    slot.sourceLength = db::characterCount(sourceText);
}

void WriterField::setInteger(std::int32_t value) {
    TableWriter::Impl& w = *writer_->impl_;
    assignInteger(w.slotToSet(index_), w.fields[index_], value, writer_->name());
}

void WriterField::setDouble(double value) {
    TableWriter::Impl& w = *writer_->impl_;
    assignDouble(w.slotToSet(index_), w.fields[index_], value, writer_->name());
}

void WriterField::setDateTime(const db::DateTime& value) {
    TableWriter::Impl& w = *writer_->impl_;
    assignDateTime(w.slotToSet(index_), w.fields[index_], value, writer_->name());
}

std::int32_t WriterField::asInteger() const {
    TableWriter::Impl& w = *writer_->impl_;
    const FieldValue* value = w.current(index_);
    if (value == nullptr || value->isNull) return 0;
    return integerOf(*value, w.fields[index_], writer_->name());
}

const FieldValue* WriterField::slot() const { return writer_->impl_->current(index_); }

std::string WriterField::asText() const {
    TableWriter::Impl& w = *writer_->impl_;
    const FieldValue* value = w.current(index_);
    if (value == nullptr || value->isNull) return {};
    return textOf(*value, w.fields[index_]);
}

}  // namespace engine
