#include "progress_gauge.h"

#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(ProgressGauge, PercentageFollowsMinimumMaximumAndClampedPosition) {
    struct Case {
        int minimum;
        int maximum;
        int position;
        int storedPosition;
        int percent;
    };
    const Case cases[] = {
        {0, 0, 5, 0, 0},         {0, 3, 1, 1, 33},   {0, 3, 2, 2, 66},     {0, 3, 3, 3, 100},
        {0, 100, 250, 100, 100}, {0, 100, -5, 0, 0}, {10, 20, 15, 15, 50}, {10, 20, 0, 10, 0},
    };
    QWidget window;
    for (const Case& c : cases) {
        ui::ProgressGauge gauge(&window);
        gauge.setMinimum(c.minimum);
        gauge.setMaximum(c.maximum);
        gauge.setPosition(c.position);
        EXPECT_EQ(gauge.position(), c.storedPosition) << c.minimum << ".." << c.maximum << " @" << c.position;
        EXPECT_EQ(gauge.percent(), c.percent) << c.minimum << ".." << c.maximum << " @" << c.position;
    }
}

// The gauge at its place in the window, 402 × 42.
class ProgressGaugeDrawing : public testing::Test {
protected:
    QWidget window;
    ui::ProgressGauge* gauge = new ui::ProgressGauge(&window);

    ProgressGaugeDrawing() {
        window.resize(402, 42);
        gauge->setGeometry(0, 0, 402, 42);
    }

    QImage drawnAt(int position) {
        gauge->setPosition(position);
        return gauge->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    template <typename Test>
    static bool contains(const QImage& image, const QRect& area, Test test) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (test(image.pixelColor(x, y))) return true;
        return false;
    }

    // Text pixels, smoothed at their edges: black text goes grey on white, pale yellow
    // (255, 255, 127) text keeps the navy bar's blue.
    static bool blackText(QColor c) { return c.red() == c.green() && c.green() == c.blue() && c.red() < 128; }
    static bool paleYellowText(QColor c) {
        return c.red() == c.green() && c.red() > 128 && c.blue() >= 126 && c.blue() <= 128;
    }
};

TEST_F(ProgressGaugeDrawing, FrameWhiteInsideNavyBarAndInverseText) {
    const QColor navy(0, 0, 128);
    const QRect inside(1, 1, 400, 40);

    const QImage empty = drawnAt(0);
    EXPECT_EQ(empty.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(empty.pixelColor(401, 41), QColor(Qt::black));
    EXPECT_EQ(empty.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_TRUE(contains(empty, inside, blackText)) << "the text 0% is black on white";
    EXPECT_FALSE(contains(empty, inside, [&](QColor c) { return c == navy; }));

    // 50% of the inner 400 pixels: columns 1 to 200.
    const QImage half = drawnAt(50);
    EXPECT_EQ(half.pixelColor(1, 1), navy);
    EXPECT_EQ(half.pixelColor(200, 40), navy);
    EXPECT_EQ(half.pixelColor(201, 1), QColor(Qt::white));
    EXPECT_EQ(half.pixelColor(0, 20), QColor(Qt::black));

    const QImage full = drawnAt(100);
    EXPECT_EQ(full.pixelColor(400, 40), navy);
    EXPECT_EQ(full.pixelColor(401, 20), QColor(Qt::black));
    EXPECT_TRUE(contains(full, inside, paleYellowText)) << "the text 100% is pale yellow on navy";
    EXPECT_FALSE(contains(full, inside, blackText));
}

// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(ProgressGaugeDrawing, RedrawsOnlyWhenTheWholePercentageChanges) {
    window.show();
    QCoreApplication::processEvents();
    PaintCounter counter;
    gauge->installEventFilter(&counter);

    gauge->setMaximum(10'000);
    for (int row = 1; row <= 10'000; ++row) {
        gauge->setPosition(gauge->position() + 1);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(gauge->percent(), 100);
    EXPECT_GE(counter.paints, 100);
    EXPECT_LE(counter.paints, 101);

    // A position that does not change the percentage draws nothing; one that does draws at once.
    counter.paints = 0;
    gauge->setPosition(20'000);
    EXPECT_EQ(counter.paints, 0);
    gauge->setPosition(5'005);
    EXPECT_EQ(counter.paints, 1);
    gauge->setPosition(5'099);
    EXPECT_EQ(counter.paints, 1);
}

}  // namespace
