#pragma once

#include <istream>
#include <ostream>
#include <set>
#include <string>

#include "batch_options.h"
#include "gauge_model.h"
#include "stop_signals.h"
#include "terminal_progress.h"
#include "window_seam.h"

namespace batch {

// The terminal the batch program talks through: answers are read from input, messages and
// questions are written to errors.
struct Terminal {
    std::istream& input;
    std::ostream& errors;
    bool inputIsTerminal;
};

// The window of the import engine on a terminal. Every box is written to the errors stream
// as its caption, ": " and its text; the run's confirmation is asked there (or answered Yes
// beforehand), and Ctrl+C while it waits answers No; the questions that offer to open the logs are answered No without
// being written, since there is no desktop to open them on, and the logs stay in the program folder.
class TerminalWindow final : public engine::WindowSeam {
public:
    TerminalWindow(Terminal terminal, TerminalProgress& progress, std::set<engine::CheckBox> tables,
                   DatabasePaths paths, bool answerYes);

    // True once the run has started: the engine disables the Import button at its start.
    bool runStarted() const { return phase_ != Phase::BeforeRun; }
    // A failure that no handler of the run caught, as the window's error box shows it.
    void showError(const std::string& failureText);

    void setStatus(const std::string& text) override;
    void setGaugeMinimum(int value) override;
    void setGaugeMaximum(int value) override;
    void setGaugePosition(int value) override;
    int gaugePosition() const override { return gauge_.position(); }
    void showPlainMessage(const std::string& text) override;
    void mensagem(const std::string& text, bool information) override;
    bool confirma(const std::string& text) override;
    // Only a person at a terminal can take that risk: without one the answer is No.
    bool confirmaPadraoNao(const std::string& text) override;
    // Ctrl+C or SIGTERM, through the program's stop signals.
    bool stopRequested() const override { return engine::stopRequested(); }
    void processMessages() override {}
    bool isTicked(engine::CheckBox box) const override { return tables_.count(box) != 0; }
    std::string fileNameOrigem() const override { return paths_.origem; }
    std::string fileNameDestino() const override { return paths_.destino; }
    void setImportEnabled(bool enabled) override;
    // There is no connection-test command on the terminal.
    void setConnectionTestEnabled(bool) override {}
    // Never asked: the log questions are answered No.
    void openFile(const std::string&, const std::string&) override {}

private:
    enum class Phase { BeforeRun, Running, Ended };

    void writeBox(const std::string& caption, const std::string& text);
    bool askOnTerminal(const std::string& question);

    Terminal terminal_;
    TerminalProgress& progress_;
    const std::set<engine::CheckBox> tables_;
    const DatabasePaths paths_;
    const bool answerYes_;
    engine::GaugeModel gauge_;
    Phase phase_ = Phase::BeforeRun;
};

}  // namespace batch
