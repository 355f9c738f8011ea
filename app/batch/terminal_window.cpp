#include "terminal_window.h"

#include <utility>

#include "box_texts.h"
#include "text.h"

namespace batch {

namespace {

// Texts break lines with CR LF; the terminal breaks them with LF.
std::string terminalLines(const std::string& text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        lines += text[i];
    }
    return lines;
}

bool isYes(const std::string& answer) {
    std::string word = db::trimBlanks(answer);
    for (char& c : word)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return word == "s" || word == "sim";
}

}  // namespace

TerminalWindow::TerminalWindow(Terminal terminal, TerminalProgress& progress, std::set<engine::CheckBox> tables,
                               DatabasePaths paths, bool answerYes)
    : terminal_(terminal),
      progress_(progress),
      tables_(std::move(tables)),
      paths_(std::move(paths)),
      answerYes_(answerYes) {}

void TerminalWindow::showError(const std::string& failureText) {
    writeBox(std::string(ui::kApplicationTitle), ui::errorBoxText(failureText));
}

void TerminalWindow::setStatus(const std::string& text) { progress_.statusChanged(text); }

void TerminalWindow::setGaugeMinimum(int value) {
    gauge_.setMinimum(value);
    progress_.gaugeChanged(gauge_);
}

void TerminalWindow::setGaugeMaximum(int value) {
    gauge_.setMaximum(value);
    progress_.gaugeMaximumSet();
    progress_.gaugeChanged(gauge_);
}

void TerminalWindow::setGaugePosition(int value) {
    gauge_.setPosition(value);
    progress_.gaugeChanged(gauge_);
}

void TerminalWindow::showPlainMessage(const std::string& text) { writeBox(std::string(ui::kApplicationTitle), text); }

void TerminalWindow::mensagem(const std::string& text, bool information) {
    // During the run only the end message comes this way, after the last table.
    if (phase_ == Phase::Running) progress_.tablesDone();
    writeBox(std::string(information ? ui::kCaptionAviso : ui::kCaptionAtencao), text);
}

bool TerminalWindow::confirma(const std::string& text) {
    // During the run the only questions are the offers to open the logs, after the last table.
    if (phase_ != Phase::BeforeRun) {
        progress_.tablesDone();
        return false;
    }
    return askOnTerminal(text);
}

bool TerminalWindow::confirmaPadraoNao(const std::string& text) {
    // --sim answers the import's confirmation only; with it, as without a person, this is No.
    if (!terminal_.inputIsTerminal || answerYes_) {
        writeBox(std::string(ui::kCaptionConfirmacao), text);
        return false;
    }
    return askOnTerminal(text);
}

void TerminalWindow::setImportEnabled(bool enabled) {
    if (!enabled && phase_ == Phase::BeforeRun) {
        phase_ = Phase::Running;
        progress_.runStarted();
    } else if (enabled && phase_ == Phase::Running) {
        phase_ = Phase::Ended;
        progress_.tablesDone();
    }
}

void TerminalWindow::writeBox(const std::string& caption, const std::string& text) {
    progress_.makeRoomForText();
    terminal_.errors << caption << ": " << terminalLines(text) << '\n' << std::flush;
}

// Asks the question as a box would and waits for a line: "s" or "sim" is Yes; anything else,
// or the end of the input, is No.
bool TerminalWindow::askOnTerminal(const std::string& question) {
    terminal_.errors << ui::kCaptionConfirmacao << ": " << terminalLines(question) << " (s/n) ";
    if (stopRequested()) {
        terminal_.errors << "n\n" << std::flush;
        return false;
    }
    if (answerYes_) {
        terminal_.errors << "s\n" << std::flush;
        return true;
    }
    terminal_.errors << std::flush;
    std::string answer;
    // A stop signal interrupts the wait: whatever was typed, the answer is No.
    if (!std::getline(terminal_.input, answer) || stopRequested()) {
        terminal_.errors << '\n' << std::flush;
        return false;
    }
    // A typed answer is already on the screen; one read from a file or a pipe is not.
    if (!terminal_.inputIsTerminal) terminal_.errors << answer << '\n' << std::flush;
    return isYes(answer);
}

}  // namespace batch
