#include "scripted_window.h"

namespace test_support {

void ScriptedWindow::setStatus(const std::string& text) { events.push_back("status: " + text); }

void ScriptedWindow::setGaugeMinimum(int value) {
    gauge.setMinimum(value);
    events.push_back("gauge minimum: " + std::to_string(value));
}

void ScriptedWindow::setGaugeMaximum(int value) {
    gauge.setMaximum(value);
    events.push_back("gauge maximum: " + std::to_string(value));
}

void ScriptedWindow::setGaugePosition(int value) { gauge.setPosition(value); }

void ScriptedWindow::showPlainMessage(const std::string& text) {
    events.push_back("plain: " + text);
    boxes.push_back(events.back());
}

void ScriptedWindow::mensagem(const std::string& text, bool information) {
    events.push_back((information ? "information: " : "warning: ") + text);
    boxes.push_back(events.back());
}

bool ScriptedWindow::confirma(const std::string& text) {
    events.push_back("confirm: " + text);
    boxes.push_back(events.back());
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedWindow::confirmaPadraoNao(const std::string& text) {
    events.push_back("confirm (default No): " + text);
    boxes.push_back(events.back());
    if (answersDefaultNo.empty()) return false;
    const bool answer = answersDefaultNo.front();
    answersDefaultNo.pop_front();
    return answer;
}

void ScriptedWindow::processMessages() {
    ++messagesProcessed;
    if (onProcessMessages) onProcessMessages();
}

void ScriptedWindow::setImportEnabled(bool enabled) {
    importEnabled = enabled;
    events.push_back(std::string("import enabled: ") + (enabled ? "1" : "0"));
}

void ScriptedWindow::setConnectionTestEnabled(bool enabled) {
    connectionTestEnabled = enabled;
    events.push_back(std::string("connection test enabled: ") + (enabled ? "1" : "0"));
}

void ScriptedWindow::openFile(const std::string& folder, const std::string& fileName) {
    events.push_back("open: " + fileName + " in " + folder);
}

std::vector<std::string> ScriptedWindow::eventsStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& event : events)
        if (event.rfind(prefix, 0) == 0) found.push_back(event);
    return found;
}

}  // namespace test_support
