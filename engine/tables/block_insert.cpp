#include "block_insert.h"

#include <algorithm>

#include "database_error.h"
#include "named_parameters.h"

namespace engine {

namespace {

// The server takes a statement's text of at most 64 KB and a parameters' message of at most
// 64 KB; a block stays below both with room to spare.
constexpr std::size_t kLongestText = 60'000;
constexpr std::size_t kLongestMessage = 60'000;
// Beyond this many parameters a block takes longer to prepare and to send than the round
// trips it saves.
constexpr std::size_t kMostParameters = 500;
// A parameter's bytes in the message besides its value: the text length, the null flag and
// the alignment.
constexpr std::size_t kParameterOverhead = 8;

bool isQuote(char c) { return c == '\'' || c == '"' || c == '`'; }

std::string variable(std::size_t row, std::size_t param) {
    // Built by appending: GCC 12 warns wrongly (-Wrestrict) about "R" + std::to_string(...).
    std::string name = "R";
    name.append(std::to_string(row)).append("_").append(std::to_string(param));
    return name;
}

// The INSERT's text with its "?" markers (outside quoted texts) replaced by row `row`'s
// variables, without the line breaks that end it.
std::string rowStatement(const std::string& parsedInsert, std::size_t row) {
    std::string text;
    std::size_t param = 0;
    for (std::size_t i = 0; i < parsedInsert.size();) {
        const char c = parsedInsert[i];
        if (isQuote(c)) {
            const std::size_t close = parsedInsert.find(c, i + 1);
            const std::size_t end = close == std::string::npos ? parsedInsert.size() : close + 1;
            text.append(parsedInsert, i, end - i);
            i = end;
        } else if (c == '?') {
            text += ':' + variable(row, param++);
            ++i;
        } else {
            text += c;
            ++i;
        }
    }
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace

BlockInsert::BlockInsert(db::Statement& insert, std::string_view table, std::size_t mostRows)
    : insert_(insert), table_(table), paramsPerRow_(0) {
    insert_.prepare();
    paramsPerRow_ = insert_.paramCount();
    std::size_t messageBytes = 0;
    for (std::size_t p = 0; p < paramsPerRow_; ++p)
        messageBytes +=
            static_cast<std::size_t>(std::max<short>(insert_.paramDescription(p).length, 0)) + kParameterOverhead;
    std::size_t rows = std::max<std::size_t>(mostRows, 1);
    if (paramsPerRow_ > 0) rows = std::min(rows, std::max<std::size_t>(kMostParameters / paramsPerRow_, 1));
    if (messageBytes > 0) rows = std::min(rows, std::max<std::size_t>(kLongestMessage / messageBytes, 1));
    while (rows > 1 && blockText(rows).size() > kLongestText) rows = rows * 3 / 4;
    rowsPerBlock_ = rows;
    values_.reserve(rowsPerBlock_ * paramsPerRow_);
}

BlockInsert::~BlockInsert() = default;

std::string BlockInsert::blockText(std::size_t rows) const {
    const db::ParsedSql parsed = db::parseNamedParameters(insert_.text());
    std::string text = "EXECUTE BLOCK";
    if (paramsPerRow_ > 0) {
        text += " (";
        for (std::size_t row = 0; row < rows; ++row) {
            for (std::size_t p = 0; p < paramsPerRow_; ++p) {
                if (row > 0 || p > 0) text += ", ";
                text += variable(row, p) + " TYPE OF COLUMN " + table_ + "." + parsed.names.at(p) + " = ?";
            }
        }
        text += ")";
    }
    text += "\r\nAS\r\nBEGIN\r\n";
    for (std::size_t row = 0; row < rows; ++row) text += rowStatement(parsed.text, row) + ";\r\n";
    text += "END";
    return text;
}

db::Statement& BlockInsert::blockOf(std::size_t rows) {
    auto made = [&](std::unique_ptr<db::Statement>& block) {
        if (!block)
            block = std::make_unique<db::Statement>(insert_.name(), insert_.attachment(), insert_.transaction());
        block->setPositionalText(blockText(rows), rows * paramsPerRow_);
    };
    if (rows == rowsPerBlock_) {
        if (!full_) made(full_);
        return *full_;
    }
    if (!shorter_ || shorterRows_ != rows) {
        made(shorter_);
        shorterRows_ = rows;
    }
    return *shorter_;
}

void BlockInsert::queue() {
    const std::size_t start = queued_ * paramsPerRow_;
    if (values_.size() < start + paramsPerRow_) values_.resize(start + paramsPerRow_);
    for (std::size_t p = 0; p < paramsPerRow_; ++p) values_[start + p] = insert_.param(p).value();
    ++queued_;
}

void BlockInsert::send() {
    if (queued_ == 0) return;
    lastRowWentIn_ = false;
    db::Statement& block = blockOf(queued_);
    for (std::size_t i = 0; i < queued_ * paramsPerRow_; ++i) block.param(i).set(values_[i]);
    block.execute();
    lastRowWentIn_ = true;
    queued_ = 0;
}

void BlockInsert::sendAlone(std::size_t row) {
    const bool last = row + 1 == queued_;
    if (last) lastRowWentIn_ = false;
    for (std::size_t p = 0; p < paramsPerRow_; ++p) insert_.param(p).set(values_[row * paramsPerRow_ + p]);
    insert_.execute();
    if (last) lastRowWentIn_ = true;
}

}  // namespace engine
