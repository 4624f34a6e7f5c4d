#pragma once

#include "platform/gui/services.h"
#include "platform/linuxfilesystem.h"
#include "platform/settingsstore.h"
#include "tests/common/fakes.h"
#include "tests/common/guifakes.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

namespace tavil::test {

// The services a window gets, every one of them a fake or in memory.
struct FakeServices {
    platform::LinuxFileSystem fs;
    platform::MemorySettingsStore store;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDesktop desktop;
    FakeVolumes volumes;
    platform::Services services{fs, store, dialogs, clock, desktop, volumes, QString(), QString()};
};

// Deletes what was closed with delete-on-close, then checks that no window
// was left behind.
inline void expectNoTopLevelWidgets()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QWidgetList left = QApplication::topLevelWidgets();
    for (QWidget* w : left)
        ADD_FAILURE() << "top-level widget left behind: " << w->metaObject()->className() << " "
                      << w->objectName().toStdString();
}

} // namespace tavil::test
