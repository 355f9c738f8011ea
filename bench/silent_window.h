#pragma once

#include <string>

#include "run_observer.h"
#include "run_prompter.h"

namespace bench {

// An observer and prompter for benchmarks: it shows nothing, answers Yes to the questions
// that default to Yes and No to the others, and keeps the boxes' texts so that a failure is
// not missed.
class SilentWindow : public engine::RunObserver, public engine::RunPrompter {
public:
    std::string boxes;

    void phaseChanged(engine::RunPhase) override {}
    void statusChanged(const std::string&) override {}
    void gaugeChanged(const engine::GaugeModel&) override {}
    void tableStarted(const engine::TableOutcome&) override {}
    void rowDone(const engine::TableOutcome&) override {}
    void tableEnded(const engine::TableOutcome&) override {}
    void processMessages() override {}
    bool stopRequested() const override { return false; }

    bool ask(engine::Question question, const std::string& text) override {
        if (!engine::defaultsToNo(question)) return true;
        boxes += text + "\n";
        return false;
    }
    void tell(engine::MessageKind, const std::string& text) override { boxes += text + "\n"; }
    void openFile(const std::string&, const std::string&) override {}
    std::optional<engine::Credentials> askLogin() override { return std::nullopt; }
};

}  // namespace bench
