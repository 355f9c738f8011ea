#include "terminal_progress.h"

#include <cstdio>

#include "text.h"

namespace batch {

namespace {

// Redrawing the line for every row would cost more than the row itself.
constexpr std::chrono::milliseconds kRedrawInterval{100};
constexpr const char* kClearToEndOfLine = "\033[K";

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& out, bool inPlace, std::chrono::milliseconds lineInterval)
    : out_(out), inPlace_(inPlace), lineInterval_(lineInterval) {}

void TerminalProgress::runStarted() {
    running_ = true;
    table_.reset();
    status_.clear();
    lastLine_ = Clock::now();
}

void TerminalProgress::statusChanged(const std::string& status) {
    status_ = status;
    if (!running_) return;
    lastDrawn_ = {};
    draw();
}

void TerminalProgress::gaugeChanged(const engine::GaugeModel& gauge) {
    if (gauge.position() == gauge.minimum()) gaugeStart_ = Clock::now();
    gauge_ = gauge;
}

void TerminalProgress::tableStarted(const engine::TableOutcome& table) {
    table_ = table;
    status_.clear();
}

void TerminalProgress::rowDone(const engine::TableOutcome& table) {
    table_ = table;
    if (!running_) return;
    draw();
    writeProgressLine();
}

// Off the terminal, a line for the table in hand once the interval has passed in silence; with
// the percentage when the table counted its rows first.
void TerminalProgress::writeProgressLine() {
    if (inPlace_ || !table_ || status_.empty()) return;
    const Clock::time_point now = Clock::now();
    if (now - lastLine_ < lineInterval_) return;
    lastLine_ = now;
    out_ << table_->destinationTable << ": " << table_->rowsRead << " registros";
    if (table_->rowsCounted) out_ << ", " << gauge_.percent() << "%";
    out_ << '\n' << std::flush;
}

void TerminalProgress::tableEnded(const engine::TableOutcome& table) {
    table_ = table;
    if (inPlace_ || !running_) return;
    out_ << table.destinationTable << ": lidos " << table.rowsRead << ", recusados " << table.rowsRefused << ", "
         << db::secondsText(table.seconds) << (table.completed ? "" : ", interrompida pela falha da tabela")
         << (table.interrupted ? ", interrompida pelo pedido de parada" : "") << '\n'
         << std::flush;
    lastLine_ = Clock::now();
}

void TerminalProgress::makeRoomForText() {
    if (lineShown_) {
        out_ << '\r' << kClearToEndOfLine << std::flush;
        lineShown_ = false;
        lastDrawn_ = {};
    }
}

void TerminalProgress::tablesDone() {
    makeRoomForText();
    running_ = false;
}

void TerminalProgress::draw() {
    // Nothing to show before the first table sets its status.
    if (!inPlace_ || status_.empty()) return;
    const Clock::time_point now = Clock::now();
    if (now - lastDrawn_ < kRedrawInterval) return;
    lastDrawn_ = now;
    const int rows = table_ ? table_->rowsRead : 0;
    out_ << '\r' << status_ << "  " << gauge_.percent() << "%  " << rows << " registros" << timeLeft()
         << kClearToEndOfLine << std::flush;
    lineShown_ = true;
}

// Extrapolates the time spent since the gauge left its minimum; nothing to say before the
// first step or once the gauge is full.
std::string TerminalProgress::timeLeft() const {
    const int done = gauge_.position() - gauge_.minimum();
    const int left = gauge_.maximum() - gauge_.position();
    if (done <= 0 || left <= 0) return "";
    const double elapsed = std::chrono::duration<double>(Clock::now() - gaugeStart_).count();
    const long seconds = static_cast<long>(elapsed * left / done + 0.5);
    char text[48];
    std::snprintf(text, sizeof text, "  faltam ~%ld:%02ld", seconds / 60, seconds % 60);
    return text;
}

}  // namespace batch
