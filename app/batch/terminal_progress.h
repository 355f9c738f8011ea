#pragma once

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "gauge_model.h"
#include "run_report.h"

namespace batch {

// The run's progress on a stream. On a terminal: one line rewritten in place with the status
// text, the gauge's percentage, the rows the current table has handled and an estimate of
// the time left. Elsewhere (a file, a pipe): one line per table when it ends, and while a
// table runs a line with its rows (and percentage, when the table counted its rows first)
// whenever lineInterval has passed without a line.
class TerminalProgress {
public:
    static constexpr std::chrono::milliseconds kLineInterval{10000};

    TerminalProgress(std::ostream& out, bool inPlace, std::chrono::milliseconds lineInterval = kLineInterval);

    // The program runs one import run.
    void runStarted();
    void statusChanged(const std::string& status);
    void gaugeChanged(const engine::GaugeModel& gauge);
    void tableStarted(const engine::TableOutcome& table);
    void rowDone(const engine::TableOutcome& table);
    // Off the terminal, a line with the table's figures.
    void tableEnded(const engine::TableOutcome& table);
    // Clears the line in place so that a message can be written on a line of its own.
    void makeRoomForText();
    // The run has gone past its tables: draws no more.
    void tablesDone();

private:
    using Clock = std::chrono::steady_clock;

    void draw();
    void writeProgressLine();
    std::string timeLeft() const;

    std::ostream& out_;
    const bool inPlace_;
    const std::chrono::milliseconds lineInterval_;
    bool running_ = false;
    // The table in hand, as its last event gave it; none before the first.
    std::optional<engine::TableOutcome> table_;
    std::string status_;
    engine::GaugeModel gauge_;
    // When the gauge last stood at its minimum: the start of the estimate.
    Clock::time_point gaugeStart_;
    Clock::time_point lastDrawn_;
    bool lineShown_ = false;
    // Off the terminal: when the last line was written, and whether the percentage is known.
    Clock::time_point lastLine_;
};

}  // namespace batch
