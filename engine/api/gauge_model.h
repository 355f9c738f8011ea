#pragma once

namespace engine {

// Minimum, maximum and position of a progress gauge, the position always kept within
// minimum..maximum, and the whole percentage that the gauge shows.
class GaugeModel {
public:
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int position() const { return position_; }

    void setMinimum(int value) {
        minimum_ = value;
        setPosition(position_);
    }
    void setMaximum(int value) {
        maximum_ = value;
        setPosition(position_);
    }
    void setPosition(int value) { position_ = value < minimum_ ? minimum_ : value > maximum_ ? maximum_ : value; }

    // trunc((position − minimum) × 100 ÷ (maximum − minimum)); 0 when maximum equals minimum.
    int percent() const {
        if (maximum_ == minimum_) return 0;
        return static_cast<int>(static_cast<double>(position_ - minimum_) * 100.0 / (maximum_ - minimum_));
    }

private:
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};

}  // namespace engine
