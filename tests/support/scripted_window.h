#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "gauge_model.h"
#include "run_observer.h"
#include "run_prompter.h"
#include "table_choice.h"

namespace test_support {

// The engine's observer and prompter driven by the test: it records what the engine shows,
// answers questions from a queue and can run a hook each time the engine processes window
// messages. It also holds what a window would: the ticked boxes and the two paths.
class ScriptedWindow : public engine::RunObserver, public engine::RunPrompter {
public:
    // Everything the engine did, in order, as short lines such as "status: Importando
    // Clientes", "plain: ...", "warning: ...", "information: ...", "confirm: ...",
    // "import enabled: 0" (the run's start and end), "open: quorel.log".
    std::vector<std::string> events;
    // The texts of the boxes shown, in order, with their kind as in events.
    std::vector<std::string> boxes;

    std::deque<bool> answers;  // answers to the questions that default to Yes; Yes when empty
    // Answers to the questions that default to No; No when the queue is empty.
    std::deque<bool> answersDefaultNo;
    // What the login dialog answers, in order; Cancel when the queue is empty.
    std::deque<engine::Credentials> logins;
    // What stopRequested answers; a hook may set it in the middle of a run.
    bool stop = false;
    std::set<engine::CheckBox> ticked;
    std::string origem;
    std::string destino;
    // The gauge as the engine last showed it.
    engine::GaugeModel gauge;
    bool importEnabled = true;
    bool connectionTestEnabled = true;
    // True between the run's start and its end, as the window's Importando.
    bool importando = false;
    int messagesProcessed = 0;
    std::function<void()> onProcessMessages;

    // The window's choice of tables: the ticked set as it is when the run reaches a table.
    engine::TableChoice tables() {
        return [this](engine::CheckBox box) { return ticked.count(box) != 0; };
    }

    void phaseChanged(engine::RunPhase phase) override;
    void statusChanged(const std::string& text) override;
    void gaugeChanged(const engine::GaugeModel& gauge) override;
    void tableStarted(const engine::TableOutcome&) override {}
    void rowDone(const engine::TableOutcome&) override {}
    void tableEnded(const engine::TableOutcome&) override {}
    void processMessages() override;
    bool stopRequested() const override { return stop; }

    bool ask(engine::Question question, const std::string& text) override;
    void tell(engine::MessageKind kind, const std::string& text) override;
    void openFile(const std::string& folder, const std::string& fileName) override;
    // Records "login asked".
    std::optional<engine::Credentials> askLogin() override;

    // The events that start with the given prefix, in order.
    std::vector<std::string> eventsStartingWith(const std::string& prefix) const;
};

}  // namespace test_support
