#pragma once

#include <set>
#include <string>
#include <utility>

#include "window_seam.h"

namespace bench {

// A window for benchmarks: it shows nothing, answers Yes to the run's confirmation and No to
// a question whose default is No, and keeps the boxes' texts so that a failure is not missed.
class SilentWindow : public engine::WindowSeam {
public:
    SilentWindow(std::string origem, std::string destino, std::set<engine::CheckBox> ticked)
        : origem_(std::move(origem)), destino_(std::move(destino)), ticked_(std::move(ticked)) {}

    std::string boxes;

    void setStatus(const std::string&) override {}
    void setGaugeMinimum(int) override {}
    void setGaugeMaximum(int) override {}
    void setGaugePosition(int value) override { position_ = value; }
    int gaugePosition() const override { return position_; }
    void showPlainMessage(const std::string& text) override { boxes += text + "\n"; }
    void mensagem(const std::string& text, bool) override { boxes += text + "\n"; }
    bool confirma(const std::string&) override { return true; }
    bool confirmaPadraoNao(const std::string& text) override {
        boxes += text + "\n";
        return false;
    }
    bool stopRequested() const override { return false; }
    void processMessages() override {}
    bool isTicked(engine::CheckBox box) const override { return ticked_.count(box) != 0; }
    std::string fileNameOrigem() const override { return origem_; }
    std::string fileNameDestino() const override { return destino_; }
    void setImportEnabled(bool) override {}
    void setConnectionTestEnabled(bool) override {}
    void openFile(const std::string&, const std::string&) override {}

private:
    std::string origem_;
    std::string destino_;
    std::set<engine::CheckBox> ticked_;
    int position_ = 0;
};

}  // namespace bench
