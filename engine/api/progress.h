#pragma once

#include <string>

#include "gauge_model.h"
#include "run_observer.h"

namespace engine {

// The status label and the progress gauge as the engine drives them: each change is made on
// the front end's gauge model and passed to the observer at once.
class Progress {
public:
    Progress(GaugeModel& gauge, RunObserver& observer) : gauge_(gauge), observer_(observer) {}

    RunObserver& observer() const { return observer_; }

    void setStatus(const std::string& text) const { observer_.statusChanged(text); }
    void setGaugeMinimum(int value) const {
        gauge_.setMinimum(value);
        observer_.gaugeChanged(gauge_);
    }
    void setGaugeMaximum(int value) const {
        gauge_.setMaximum(value);
        observer_.gaugeChanged(gauge_);
    }
    void setGaugePosition(int value) const {
        gauge_.setPosition(value);
        observer_.gaugeChanged(gauge_);
    }
    int gaugePosition() const { return gauge_.position(); }
    void processMessages() const { observer_.processMessages(); }
    bool stopRequested() const { return observer_.stopRequested(); }

private:
    GaugeModel& gauge_;
    RunObserver& observer_;
};

}  // namespace engine
