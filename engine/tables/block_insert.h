#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "statement.h"

namespace engine {

// Rows of a one-row INSERT queued and sent to the server together: one prepared EXECUTE BLOCK
// carrying the parameters of every queued row, each parameter typed as the column it fills, so
// that the round trip of a row is shared by the block.
//
// The INSERT's parameters are named after the columns of `table` they fill. A block that fails
// is undone by the server as one statement; its rows can then be sent one at a time through the
// INSERT itself (sendAlone), each with its own failure.
class BlockInsert {
public:
    // `insert` is the one-row INSERT; it stays the caller's and outlives the block. Rows per block
    // are at most `mostRows`, fewer when the row is wide: within the server's limits on the length
    // of a statement's text and of its parameters' message.
    BlockInsert(db::Statement& insert, std::string_view table, std::size_t mostRows);
    BlockInsert(const BlockInsert&) = delete;
    BlockInsert& operator=(const BlockInsert&) = delete;
    ~BlockInsert();

    std::size_t rowsPerBlock() const { return rowsPerBlock_; }
    std::size_t queued() const { return queued_; }
    bool full() const { return queued_ >= rowsPerBlock_; }

    // Queues the values set on the INSERT's parameters as the next row.
    void queue();
    // Sends the queued rows as one statement and empties the queue. A failure leaves the queue
    // as it was and nothing of the block in the table.
    void send();
    // Sends queued row `row` alone through the INSERT; its failure is the row's.
    void sendAlone(std::size_t row);
    // Empties the queue.
    void clear() { queued_ = 0; }

    // Whether the last row queued is in the table: its block went in, or it did when sent alone.
    bool lastRowWentIn() const { return lastRowWentIn_; }

private:
    db::Statement& blockOf(std::size_t rows);
    std::string blockText(std::size_t rows) const;

    db::Statement& insert_;
    std::string table_;
    std::size_t paramsPerRow_;
    std::size_t rowsPerBlock_ = 1;
    // The queued rows' parameter values, row after row; kept for the whole block's length.
    std::vector<db::Parameter::Value> values_;
    std::size_t queued_ = 0;
    bool lastRowWentIn_ = false;
    // The full block, prepared once, and the last shorter one.
    std::unique_ptr<db::Statement> full_;
    std::unique_ptr<db::Statement> shorter_;
    std::size_t shorterRows_ = 0;
};

}  // namespace engine
