#include "scripted_window.h"

namespace test_support {

namespace {

bool next(std::deque<bool>& queue, bool whenEmpty) {
    if (queue.empty()) return whenEmpty;
    const bool answer = queue.front();
    queue.pop_front();
    return answer;
}

}  // namespace

void ScriptedWindow::phaseChanged(engine::RunPhase phase) {
    const bool running = phase == engine::RunPhase::Running;
    importando = running;
    importEnabled = !running;
    connectionTestEnabled = !running;
    events.push_back(std::string("import enabled: ") + (running ? "0" : "1"));
    events.push_back(std::string("connection test enabled: ") + (running ? "0" : "1"));
}

void ScriptedWindow::statusChanged(const std::string& text) { events.push_back("status: " + text); }

void ScriptedWindow::gaugeChanged(const engine::GaugeModel& shown) {
    if (shown.maximum() != gauge.maximum()) events.push_back("gauge maximum: " + std::to_string(shown.maximum()));
    if (shown.minimum() != gauge.minimum()) events.push_back("gauge minimum: " + std::to_string(shown.minimum()));
    gauge = shown;
}

void ScriptedWindow::processMessages() {
    ++messagesProcessed;
    if (onProcessMessages) onProcessMessages();
}

bool ScriptedWindow::ask(engine::Question question, const std::string& text) {
    const bool defaultNo = engine::defaultsToNo(question);
    events.push_back((defaultNo ? "confirm (default No): " : "confirm: ") + text);
    boxes.push_back(events.back());
    return defaultNo ? next(answersDefaultNo, false) : next(answers, true);
}

void ScriptedWindow::tell(engine::MessageKind kind, const std::string& text) {
    const char* prefix = kind == engine::MessageKind::Plain     ? "plain: "
                         : kind == engine::MessageKind::Warning ? "warning: "
                                                                : "information: ";
    events.push_back(prefix + text);
    boxes.push_back(events.back());
}

void ScriptedWindow::openFile(const std::string& folder, const std::string& fileName) {
    events.push_back("open: " + fileName + " in " + folder);
}

std::optional<engine::Credentials> ScriptedWindow::askLogin() {
    events.push_back("login asked");
    if (logins.empty()) return std::nullopt;
    engine::Credentials typed = logins.front();
    logins.pop_front();
    return typed;
}

std::vector<std::string> ScriptedWindow::eventsStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& event : events)
        if (event.rfind(prefix, 0) == 0) found.push_back(event);
    return found;
}

}  // namespace test_support
