#pragma once

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "gauge_model.h"
#include "window_seam.h"

namespace test_support {

// A window seam driven by the test: it records what the engine shows, answers confirmations
// from a queue and can run a hook each time the engine processes window messages.
class ScriptedWindow : public engine::WindowSeam {
public:
    // Everything the engine did through the seam, in order, as short lines such as
    // "status: Importando Clientes", "plain: ...", "warning: ...", "information: ...",
    // "confirm: ...", "import enabled: 0", "open: quorel.log".
    std::vector<std::string> events;
    // The texts of the boxes shown, in order, with their kind as in events.
    std::vector<std::string> boxes;

    std::deque<bool> answers;  // answers to confirma; Yes when the queue is empty
    // Answers to confirmaPadraoNao; No when the queue is empty.
    std::deque<bool> answersDefaultNo;
    // What stopRequested answers; a hook may set it in the middle of a run.
    bool stop = false;
    std::set<engine::CheckBox> ticked;
    std::string origem;
    std::string destino;
    engine::GaugeModel gauge;
    bool importEnabled = true;
    bool connectionTestEnabled = true;
    int messagesProcessed = 0;
    std::function<void()> onProcessMessages;

    void setStatus(const std::string& text) override;
    void setGaugeMinimum(int value) override;
    void setGaugeMaximum(int value) override;
    void setGaugePosition(int value) override;
    int gaugePosition() const override { return gauge.position(); }
    void showPlainMessage(const std::string& text) override;
    void mensagem(const std::string& text, bool information) override;
    bool confirma(const std::string& text) override;
    bool confirmaPadraoNao(const std::string& text) override;
    bool stopRequested() const override { return stop; }
    void processMessages() override;
    bool isTicked(engine::CheckBox box) const override { return ticked.count(box) != 0; }
    std::string fileNameOrigem() const override { return origem; }
    std::string fileNameDestino() const override { return destino; }
    void setImportEnabled(bool enabled) override;
    void setConnectionTestEnabled(bool enabled) override;
    void openFile(const std::string& folder, const std::string& fileName) override;

    // The events that start with the given prefix, in order.
    std::vector<std::string> eventsStartingWith(const std::string& prefix) const;
};

}  // namespace test_support
