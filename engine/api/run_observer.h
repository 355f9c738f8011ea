#pragma once

#include <string>

#include "gauge_model.h"
#include "run_report.h"

namespace engine {

// The phases of a run, as a front end shows them.
enum class RunPhase {
    Running,  // past the confirmation: the commands that would disturb the run are off
    Ended,    // the run is over: the commands are back
};

// Follows a run, a safety copy or a restore as it goes. Every call comes on the thread that
// runs the work; none may throw.
class RunObserver {
public:
    virtual ~RunObserver() = default;

    virtual void phaseChanged(RunPhase phase) = 0;
    // The status label's text (LabelObs): a table's phase, a copy's or a restore's progress.
    virtual void statusChanged(const std::string& text) = 0;
    // The progress gauge (GaugeImportando) after any change of its minimum, maximum or position.
    virtual void gaugeChanged(const GaugeModel& gauge) = 0;
    // A table import begins; the outcome names the table and says whether it counted its rows.
    virtual void tableStarted(const TableOutcome& table) = 0;
    // A source row was handled, written or refused.
    virtual void rowDone(const TableOutcome& table) = 0;
    virtual void tableEnded(const TableOutcome& table) = 0;

    // Processes the pending window messages once (repaints and user input).
    virtual void processMessages() = 0;
    // True once the user or the system asked the run to stop (Ctrl+C, SIGTERM): the run
    // finishes the row in hand, does the table's bookkeeping and reaches no further table.
    virtual bool stopRequested() const = 0;
};

}  // namespace engine
