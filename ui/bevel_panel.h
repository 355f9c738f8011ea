#pragma once

#include <QWidget>

namespace ui {

// A panel in the button-face colour with up to two 1-pixel bevels around its edge: an outer
// and an inner one, each raised (light above and left, dark below and right) or lowered.
class BevelPanel : public QWidget {
    Q_OBJECT
public:
    enum class Bevel { None, Raised, Lowered };

    BevelPanel(Bevel outer, Bevel inner, QWidget* parent);

    // The pixels taken by the bevels on each side.
    int bevelWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Bevel outer_;
    Bevel inner_;
};

}  // namespace ui
