#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "run_observer.h"
#include "run_prompter.h"
#include "terminal_progress.h"

namespace batch {

// The terminal the batch program talks through: answers are read from input, messages and
// questions are written to errors.
struct Terminal {
    std::istream& input;
    std::ostream& errors;
    bool inputIsTerminal;
};

// The engine's observer and prompter on a terminal. Every box is written to the errors stream
// as its caption, ": " and its text; the run's confirmation is asked there (or answered Yes
// beforehand), and Ctrl+C while it waits answers No; the offers to open the logs are answered
// No without being written, since there is no desktop to open them on, and the logs stay in
// the program folder. A refused login is asked again on a terminal only. The progress goes to the terminal's progress
// line.
class TerminalWindow final : public engine::RunObserver, public engine::RunPrompter {
public:
    // acceptUncheckedCopy answers Yes to restoring a copy without its record; without it that
    // question is answered No, whoever is at the terminal.
    TerminalWindow(Terminal terminal, TerminalProgress& progress, bool answerYes, bool acceptUncheckedCopy = false);

    // A failure that no handler of the run caught, as the window's error box shows it.
    void showError(const std::string& failureText);

    void phaseChanged(engine::RunPhase phase) override;
    void statusChanged(const std::string& text) override { progress_.statusChanged(text); }
    void gaugeChanged(const engine::GaugeModel& gauge) override { progress_.gaugeChanged(gauge); }
    void tableStarted(const engine::TableOutcome& table) override { progress_.tableStarted(table); }
    void rowDone(const engine::TableOutcome& table) override { progress_.rowDone(table); }
    void tableEnded(const engine::TableOutcome& table) override { progress_.tableEnded(table); }
    void processMessages() override {}
    // Ctrl+C or SIGTERM, through the program's stop signals.
    bool stopRequested() const override;

    bool ask(engine::Question question, const std::string& text) override;
    void tell(engine::MessageKind kind, const std::string& text) override;
    // Never asked: the log questions are answered No.
    void openFile(const std::string&, const std::string&) override {}
    // On a terminal: the user as typed and the password without echo; without a person to
    // ask, nothing, so that the refused login fails the run.
    std::optional<engine::Credentials> askLogin() override;

private:
    void writeBox(const std::string& caption, const std::string& text);
    bool askOnTerminal(const std::string& question);

    Terminal terminal_;
    TerminalProgress& progress_;
    const bool answerYes_;
    const bool acceptUncheckedCopy_;
    bool running_ = false;
};

}  // namespace batch
