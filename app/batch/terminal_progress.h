#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "gauge_model.h"
#include "import_context.h"

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

    // The run's record of its tables, filled by the engine as they run.
    void follow(const std::vector<engine::TableOutcome>& outcomes) { outcomes_ = &outcomes; }

    // The program runs one import run: its record starts empty.
    void runStarted();
    void statusChanged(const std::string& status);
    void gaugeChanged(const engine::GaugeModel& gauge);
    // The gauge's maximum was set: the table in hand counted its rows.
    void gaugeMaximumSet() { maximumSetSinceStatus_ = true; }
    // Clears the line in place so that a message can be written on a line of its own.
    void makeRoomForText();
    // The run has gone past its tables: reports those not reported yet and draws no more.
    void tablesDone();

private:
    using Clock = std::chrono::steady_clock;

    void reportEndedTables(std::size_t stillRunning);
    void draw();
    void writeProgressLine();
    std::string timeLeft() const;

    std::ostream& out_;
    const bool inPlace_;
    const std::chrono::milliseconds lineInterval_;
    const std::vector<engine::TableOutcome>* outcomes_ = nullptr;
    bool running_ = false;
    std::size_t tablesReported_ = 0;
    std::string status_;
    engine::GaugeModel gauge_;
    // When the gauge last stood at its minimum: the start of the estimate.
    Clock::time_point gaugeStart_;
    Clock::time_point lastDrawn_;
    bool lineShown_ = false;
    // Off the terminal: when the last line was written, and whether the percentage is known.
    Clock::time_point lastLine_;
    bool maximumSetSinceStatus_ = false;
    bool percentKnown_ = false;
};

}  // namespace batch
