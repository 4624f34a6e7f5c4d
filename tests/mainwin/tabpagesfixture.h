#pragma once

#include "mainwin/tabpages.h"
#include "platform/gui/services.h"
#include "platform/settingsstore.h"
#include "tests/common/fakes.h"
#include "tests/common/guifakes.h"
#include "tests/common/testfs.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace tavil::test {

// A form at the main window's design size holding the tab pages, shown and
// active so that focus moves as it does for a user. Nothing is left behind.
class TabPagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<QWidget>();
        form->setObjectName(QStringLiteral("form"));
        form->resize(410, 437); // 6150 x 6550 twips at 96 DPI
        pages = new mainwin::TabPages(form.get(), services);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void TearDown() override
    {
        form.reset();
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    }

    template <typename W>
    W* child(const char* name) const
    {
        W* w = form->findChild<W*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    platform::MemorySettingsStore store;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDesktop desktop;
    FakeVolumes volumes;
    TestFileSystem fs;
    platform::Services services{fs, store, dialogs, clock, desktop, volumes, QString(), QString()};
    std::unique_ptr<QWidget> form;
    mainwin::TabPages* pages = nullptr; // owned by the form
};

// Twips as pixels on the offscreen screen (96 DPI: 15 twips a pixel).
inline int px(double twips)
{
    return int(std::lround(twips / 15.0));
}

} // namespace tavil::test
