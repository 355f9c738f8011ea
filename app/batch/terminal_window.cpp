#include "terminal_window.h"

#include <utility>

#include "box_texts.h"
#include "hidden_input.h"
#include "stop_signals.h"
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

TerminalWindow::TerminalWindow(Terminal terminal, TerminalProgress& progress, bool answerYes, bool acceptUncheckedCopy)
    : terminal_(terminal), progress_(progress), answerYes_(answerYes), acceptUncheckedCopy_(acceptUncheckedCopy) {}

void TerminalWindow::showError(const std::string& failureText) {
    writeBox(std::string(engine::kApplicationTitle), engine::errorBoxText(failureText));
}

void TerminalWindow::phaseChanged(engine::RunPhase phase) {
    running_ = phase == engine::RunPhase::Running;
    if (running_)
        progress_.runStarted();
    else
        progress_.tablesDone();
}

bool TerminalWindow::stopRequested() const { return platform::stopRequested(); }

bool TerminalWindow::ask(engine::Question question, const std::string& text) {
    switch (question) {
    case engine::Question::OpenLog:
        // There is no desktop to open the log on: it stays in its folder.
        return false;
    case engine::Question::ImportWithoutCopy:
    case engine::Question::RestoreOtherDatabasesCopy:
        // --sim answers the import's and the restore's confirmation only; with it, as without a
        // person, these are No.
        if (!terminal_.inputIsTerminal || answerYes_) {
            writeBox(std::string(engine::kCaptionConfirmacao), text);
            terminal_.errors << (answerYes_
                                     ? "Resposta: Não (--sim não responde a esta pergunta; responda num terminal)\n"
                                     : "Resposta: Não (não há quem responda)\n")
                             << std::flush;
            return false;
        }
        return askOnTerminal(text);
    case engine::Question::RestoreUncheckedCopy:
        // Only the option of its own accepts such a copy; --sim does not.
        writeBox(std::string(engine::kCaptionConfirmacao), text);
        return acceptUncheckedCopy_;
    case engine::Question::ConfirmRun:
    case engine::Question::RestoreCopy:
    case engine::Question::AdjustSequences:
        break;
    }
    return askOnTerminal(text);
}

void TerminalWindow::tell(engine::MessageKind kind, const std::string& text) {
    switch (kind) {
    case engine::MessageKind::Plain:
        writeBox(std::string(engine::kApplicationTitle), text);
        return;
    case engine::MessageKind::Warning:
    case engine::MessageKind::Information:
        // During the run only the messages after the last table come this way.
        if (running_) progress_.tablesDone();
        writeBox(
            std::string(kind == engine::MessageKind::Information ? engine::kCaptionAviso : engine::kCaptionAtencao),
            text);
        return;
    }
}

std::optional<engine::Credentials> TerminalWindow::askLogin() {
    if (!terminal_.inputIsTerminal || stopRequested()) return std::nullopt;
    progress_.makeRoomForText();
    terminal_.errors << "O servidor recusou o usuário ou a senha.\nUsuário: " << std::flush;
    engine::Credentials typed;
    if (!std::getline(terminal_.input, typed.user) || stopRequested()) return std::nullopt;
    terminal_.errors << "Senha: " << std::flush;
    std::optional<std::string> password = platform::readLineWithoutEcho(terminal_.input);
    if (!password || stopRequested()) return std::nullopt;
    typed.password = std::move(*password);
    return typed;
}

void TerminalWindow::writeBox(const std::string& caption, const std::string& text) {
    progress_.makeRoomForText();
    terminal_.errors << caption << ": " << terminalLines(text) << '\n' << std::flush;
}

// Asks the question as a box would and waits for a line: "s" or "sim" is Yes; anything else,
// or the end of the input, is No.
bool TerminalWindow::askOnTerminal(const std::string& question) {
    terminal_.errors << engine::kCaptionConfirmacao << ": " << terminalLines(question) << " (s/n) ";
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
