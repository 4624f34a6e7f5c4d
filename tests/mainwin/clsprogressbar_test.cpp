#include "mainwin/clsprogressbar.h"
#include "mainwin/picturebox.h"
#include "tests/mainwin/statuswindowfixture.h"

#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

using tavil::mainwin::clsProgressBar;
using tavil::mainwin::PictureBox;

namespace {

constexpr QRgb kDarkBlue = 0x000080;
constexpr QRgb kWhite = 0xFFFFFF;

QRgb rgb(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

// The text's pixels on a horizontal bar that ends at barRight: white inside
// the bar, the bar colour outside it.
QRect inkBounds(const QImage& image, int barRight)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = rgb(image, x, y);
            const bool ink = x < barRight ? c == kWhite : c == kDarkBlue;
            if (ink)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

class DrawnProgressBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        box = std::make_unique<PictureBox>();
        box->resize(300, 20);
        bar.setTarget(box.get());
    }
    void TearDown() override
    {
        box.reset();
        tavil::test::expectNoTopLevelWidgets();
    }
    int textWidth(const QString& text) const
    {
        QFont font = box->font();
        font.setStyleStrategy(QFont::NoAntialias);
        return QFontMetrics(font).horizontalAdvance(text);
    }

    std::unique_ptr<PictureBox> box;
    clsProgressBar bar;
};

TEST_F(DrawnProgressBar, StartsWithItsDefaults)
{
    EXPECT_EQ(bar.value(), 0);
    EXPECT_EQ(bar.max(), 100);
    EXPECT_EQ(bar.barColor(), QColor(0, 0, 0x80));
    EXPECT_EQ(bar.backColor(), QColor(Qt::white));
    EXPECT_EQ(bar.unit(), QStringLiteral("%"));
    EXPECT_TRUE(bar.valueShow());
    EXPECT_EQ(bar.style(), 0);
    // Value 0 draws no bar: the left edge is white.
    EXPECT_EQ(rgb(box->image(), 0, 0), kWhite);
}

TEST_F(DrawnProgressBar, ValueIsHeldWithinZeroToMax)
{
    struct Case {
        const char* name;
        int max;
        int set;
        int stored;
    };
    const Case cases[] = {
        {"belowZero", 100, -5, 0},  {"aboveMax", 100, 150, 100}, {"inside", 100, 37, 37},
        {"atMax", 100, 100, 100},   {"smallMax", 50, 75, 50},    {"zeroMax", 0, 5, 0},
        {"negativeMax", -3, 2, 0},  {"zeroMaxBelow", 0, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bar.setMax(c.max);
        bar.setValue(c.set);
        EXPECT_EQ(bar.value(), c.stored);
    }
}

TEST_F(DrawnProgressBar, ClampedValuesDrawTheirBar)
{
    bar.setValue(150);
    QImage image = box->image();
    EXPECT_EQ(rgb(image, 0, 0), kDarkBlue);
    EXPECT_EQ(rgb(image, 299, 19), kDarkBlue);

    bar.setValue(-5);
    image = box->image();
    EXPECT_EQ(rgb(image, 0, 0), kWhite);
    EXPECT_EQ(rgb(image, 299, 19), kWhite);
}

TEST_F(DrawnProgressBar, ThirtySevenOfHundredFillsThatShareWithTheTextCentred)
{
    bar.setValue(37);
    const QImage image = box->image();
    // 37 hundredths of 300 pixels: columns 0 to 110.
    for (int y : {0, 19}) {
        SCOPED_TRACE(y);
        EXPECT_EQ(rgb(image, 0, y), kDarkBlue);
        EXPECT_EQ(rgb(image, 110, y), kDarkBlue);
        EXPECT_EQ(rgb(image, 111, y), kWhite);
        EXPECT_EQ(rgb(image, 299, y), kWhite);
    }
    const QRect ink = inkBounds(image, 111);
    ASSERT_FALSE(ink.isNull());
    EXPECT_NEAR(ink.center().x(), 150, 3);
    EXPECT_NEAR(ink.center().y(), 10, 3);
    EXPECT_NEAR(ink.width(), textWidth(QStringLiteral("37%")), 3);
    // Only the bar colour and white: the text is not smoothed into the bar.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_TRUE(rgb(image, x, y) == kWhite || rgb(image, x, y) == kDarkBlue) << x << "," << y;
}

TEST_F(DrawnProgressBar, TextUnderTheBarShowsWhite)
{
    bar.setValue(50); // the bar ends in the middle of "50%"
    const QImage image = box->image();
    int whiteInBar = 0;
    int blueBeyond = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 120; x < 150; ++x)
            whiteInBar += rgb(image, x, y) == kWhite;
        for (int x = 150; x < 180; ++x)
            blueBeyond += rgb(image, x, y) == kDarkBlue;
    }
    EXPECT_GT(whiteInBar, 0);
    EXPECT_GT(blueBeyond, 0);
    const QRect ink = inkBounds(image, 150);
    EXPECT_NEAR(ink.center().x(), 150, 3);
    EXPECT_NEAR(ink.width(), textWidth(QStringLiteral("50%")), 3);
}

TEST_F(DrawnProgressBar, WithoutValueShowOnlyTheUnitIsWritten)
{
    bar.setValueShow(false);
    bar.setValue(37);
    QRect ink = inkBounds(box->image(), 111);
    ASSERT_FALSE(ink.isNull());
    EXPECT_NEAR(ink.width(), textWidth(QStringLiteral("%")), 3);
    EXPECT_NEAR(ink.center().x(), 150, 3);

    bar.setUnit(QString());
    EXPECT_TRUE(inkBounds(box->image(), 111).isNull());
}

TEST_F(DrawnProgressBar, BackColorTintsThePartNotReached)
{
    const QColor tint(0xE0, 0xD0, 0xC0);
    bar.setUnit(QString());
    bar.setValueShow(false);
    bar.setBackColor(tint);
    bar.setValue(37);
    const QImage image = box->image();
    EXPECT_EQ(rgb(image, 110, 10), kDarkBlue);
    EXPECT_EQ(rgb(image, 111, 10), tint.rgb() & 0xFFFFFF);
    EXPECT_EQ(rgb(image, 299, 0), tint.rgb() & 0xFFFFFF);
}

TEST_F(DrawnProgressBar, VerticalStyleFillsFromTheBottom)
{
    const QColor tint(0xE0, 0xD0, 0xC0);
    box->resize(40, 100);
    bar.setUnit(QString());
    bar.setValueShow(false);
    bar.setBackColor(tint);
    bar.setStyle(1);
    bar.setValue(75);
    const QImage image = box->image();
    ASSERT_EQ(image.size(), QSize(40, 100));
    for (int x : {0, 39}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(rgb(image, x, 0), tint.rgb() & 0xFFFFFF);
        EXPECT_EQ(rgb(image, x, 24), tint.rgb() & 0xFFFFFF);
        EXPECT_EQ(rgb(image, x, 25), kDarkBlue);
        EXPECT_EQ(rgb(image, x, 99), kDarkBlue);
    }

    // At 0 there is no bar; the whole surface is tinted.
    bar.setValue(0);
    EXPECT_EQ(rgb(box->image(), 20, 99), tint.rgb() & 0xFFFFFF);
}

TEST_F(DrawnProgressBar, MaxSetsTheScale)
{
    bar.setUnit(QString());
    bar.setValueShow(false);
    bar.setMax(50);
    bar.setValue(25);
    QImage image = box->image();
    EXPECT_EQ(rgb(image, 149, 10), kDarkBlue);
    EXPECT_EQ(rgb(image, 150, 10), kWhite);

    // A smaller Max holds the value at it and redraws at once.
    bar.setMax(20);
    EXPECT_EQ(bar.value(), 20);
    EXPECT_EQ(rgb(box->image(), 299, 10), kDarkBlue);
}

TEST_F(DrawnProgressBar, ZeroMaxDrawsAnEmptyBar)
{
    bar.setMax(0);
    bar.setValue(10);
    EXPECT_EQ(bar.value(), 0);
    EXPECT_EQ(rgb(box->image(), 0, 0), kWhite);
    bar.setMax(-1);
    bar.setStyle(1);
    bar.setValue(3);
    EXPECT_EQ(bar.value(), 0);
}

TEST_F(DrawnProgressBar, FollowsTheSurfaceWhenItIsResized)
{
    bar.setUnit(QString());
    bar.setValueShow(false);
    bar.setValue(50);
    // Placed while hidden, as the status bar's area is, then shown.
    box->resize(600, 20);
    box->show();
    QImage image = box->image();
    ASSERT_EQ(image.width(), 600);
    EXPECT_EQ(rgb(image, 299, 10), kDarkBlue);
    EXPECT_EQ(rgb(image, 300, 10), kWhite);

    // Resized while shown.
    box->resize(200, 20);
    image = box->image();
    ASSERT_EQ(image.width(), 200);
    EXPECT_EQ(rgb(image, 99, 10), kDarkBlue);
    EXPECT_EQ(rgb(image, 100, 10), kWhite);
}

TEST_F(DrawnProgressBar, NewTargetStartsAtZero)
{
    bar.setValue(60);
    PictureBox other;
    other.resize(100, 10);
    bar.setTarget(&other);
    EXPECT_EQ(bar.value(), 0);
    EXPECT_EQ(rgb(other.image(), 0, 5), kWhite);
    // The old surface is no longer drawn on.
    bar.setValue(100);
    EXPECT_EQ(rgb(other.image(), 99, 5), kDarkBlue);
    EXPECT_EQ(rgb(box->image(), 299, 10), kWhite);
}

// A run sets the value once per file; the picture is drawn only when it
// would look different, and what it shows is what a drawing of that value
// alone shows.
TEST_F(DrawnProgressBar, DrawsOnlyWhenItsPixelOrTextChanges)
{
    struct Case {
        const char* name;
        int style;
        bool valueShow;
        int max;
        QSize size;
        int draws; // for the values 1 to max, one after another
    };
    const Case cases[] = {
        // The main window's bar: no text; one drawing for the first bar,
        // then one per pixel the edge moves.
        {"manyFilesNoText", 0, false, 100000, {300, 20}, 301},
        {"fewerValuesThanPixels", 0, false, 100, {300, 20}, 100},
        {"verticalNoText", 1, false, 10000, {20, 50}, 51},
        // The number changes with every value.
        {"textEveryValue", 0, true, 500, {100, 20}, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        box->resize(c.size);
        bar.setStyle(c.style);
        bar.setValueShow(c.valueShow);
        bar.setMax(c.max);
        bar.setValue(0);
        const int before = bar.drawCount();
        for (int v = 1; v <= c.max; ++v) {
            bar.setValue(v);
            if (v == c.max / 3 || v == c.max) {
                // The kept picture is the one a single drawing of v gives.
                PictureBox fresh;
                fresh.resize(c.size);
                clsProgressBar single;
                single.setTarget(&fresh);
                single.setStyle(c.style);
                single.setValueShow(c.valueShow);
                single.setMax(c.max);
                single.setValue(v);
                ASSERT_EQ(box->image(), fresh.image()) << "at " << v;
            }
        }
        EXPECT_EQ(bar.drawCount() - before, c.draws);

        // The same value again draws nothing; a property write always draws.
        const int settled = bar.drawCount();
        bar.setValue(c.max);
        bar.setValue(c.max + 10); // held at Max: the same picture
        EXPECT_EQ(bar.drawCount(), settled);
        bar.setBarColor(bar.barColor());
        EXPECT_EQ(bar.drawCount(), settled + 1);
        // Going back to 0 removes the bar.
        bar.setValue(0);
        EXPECT_EQ(bar.drawCount(), settled + 2);
    }
}

TEST_F(DrawnProgressBar, AResizedSurfaceIsDrawnAgainForTheSameValue)
{
    bar.setUnit(QString());
    bar.setValueShow(false);
    bar.setValue(50);
    const int before = bar.drawCount();
    box->resize(100, 20); // hidden: no resize event reaches the bar yet
    bar.setValue(50);
    EXPECT_GT(bar.drawCount(), before);
    const QImage image = box->image();
    EXPECT_EQ(rgb(image, 49, 10), kDarkBlue);
    EXPECT_EQ(rgb(image, 50, 10), kWhite);
}

TEST_F(DrawnProgressBar, OutlivesItsSurface)
{
    box.reset();
    bar.setValue(10); // no surface left: nothing to draw, no crash
    EXPECT_EQ(bar.value(), 10);
    EXPECT_EQ(bar.target(), nullptr);
}

} // namespace
