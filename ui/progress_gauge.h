#pragma once

#include <QWidget>

#include "gauge_model.h"

namespace ui {

// The progress gauge: a black frame, white inside, a navy bar of the percentage, and the
// percentage in the middle drawn in the colours inverse to those beneath it. It redraws at
// once when the whole percentage changes and not otherwise, so a run through a table of any
// size redraws it at most 101 times.
class ProgressGauge : public QWidget {
    Q_OBJECT
public:
    explicit ProgressGauge(QWidget* parent);

    void setMinimum(int value);
    void setMaximum(int value);
    void setPosition(int value);
    int minimum() const { return model_.minimum(); }
    int maximum() const { return model_.maximum(); }
    int position() const { return model_.position(); }
    int percent() const { return model_.percent(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    template <typename Change>
    void change(Change apply);

    engine::GaugeModel model_;
};

}  // namespace ui
