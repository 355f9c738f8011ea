#include "terminal_progress.h"

#include <cstdio>

namespace batch {

namespace {

// Redrawing the line for every row would cost more than the row itself.
constexpr std::chrono::milliseconds kRedrawInterval{100};
constexpr const char* kClearToEndOfLine = "\033[K";

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& out, bool inPlace, std::chrono::milliseconds lineInterval)
    : out_(out), inPlace_(inPlace), lineInterval_(lineInterval) {}

void TerminalProgress::runStarted() {
    running_ = true;
    tablesReported_ = 0;
    status_.clear();
    lastLine_ = Clock::now();
}

void TerminalProgress::statusChanged(const std::string& status) {
    status_ = status;
    // A table sets its status after counting its rows, if it counts them.
    percentKnown_ = maximumSetSinceStatus_;
    maximumSetSinceStatus_ = false;
    if (!running_) return;
    reportEndedTables(1);
    lastDrawn_ = {};
    draw();
}

void TerminalProgress::gaugeChanged(const engine::GaugeModel& gauge) {
    if (gauge.position() == gauge.minimum()) gaugeStart_ = Clock::now();
    gauge_ = gauge;
    if (!running_) return;
    reportEndedTables(1);
    draw();
    writeProgressLine();
}

// Off the terminal, a line for the table in hand once the interval has passed in silence.
void TerminalProgress::writeProgressLine() {
    if (inPlace_ || outcomes_ == nullptr || outcomes_->empty() || status_.empty()) return;
    const Clock::time_point now = Clock::now();
    if (now - lastLine_ < lineInterval_) return;
    lastLine_ = now;
    const engine::TableOutcome& table = outcomes_->back();
    out_ << table.destinationTable << ": " << table.rowsRead << " registros";
    if (percentKnown_) out_ << ", " << gauge_.percent() << "%";
    out_ << '\n' << std::flush;
}

void TerminalProgress::makeRoomForText() {
    if (lineShown_) {
        out_ << '\r' << kClearToEndOfLine << std::flush;
        lineShown_ = false;
        lastDrawn_ = {};
    }
    // A table that failed before touching the window must not have its message appear
    // above the line of the table before it.
    if (running_) reportEndedTables(1);
}

void TerminalProgress::tablesDone() {
    makeRoomForText();
    reportEndedTables(0);
    running_ = false;
}

// Reports every table but the last stillRunning ones: a table has ended once the engine
// works on the next one.
void TerminalProgress::reportEndedTables(std::size_t stillRunning) {
    if (inPlace_ || outcomes_ == nullptr) return;
    while (tablesReported_ + stillRunning < outcomes_->size()) {
        const engine::TableOutcome& table = (*outcomes_)[tablesReported_++];
        out_ << table.destinationTable << ": lidos " << table.rowsRead << ", recusados " << table.rowsRefused << ", "
             << secondsText(table.seconds) << (table.completed ? "" : ", interrompida pela falha da tabela")
             << (table.interrupted ? ", interrompida pelo pedido de parada" : "") << '\n'
             << std::flush;
        lastLine_ = Clock::now();
    }
}

void TerminalProgress::draw() {
    // Nothing to show before the first table sets its status.
    if (!inPlace_ || status_.empty()) return;
    const Clock::time_point now = Clock::now();
    if (now - lastDrawn_ < kRedrawInterval) return;
    lastDrawn_ = now;
    const int rows = outcomes_ && !outcomes_->empty() ? outcomes_->back().rowsRead : 0;
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
