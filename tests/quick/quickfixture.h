#pragma once

#include "platform/gui/services.h"
#include "platform/settingsstore.h"
#include "quick/form4.h"
#include "tests/common/fakes.h"
#include "tests/common/guifakes.h"
#include "tests/common/tempdir.h"
#include "tests/common/testfs.h"

#include <QApplication>
#include <QList>
#include <QStringList>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace tavil::test {

// The address a file manager gives a path: its bytes percent-encoded, so a
// name that is not UTF-8 comes through as it is.
QUrl fileUrl(const QByteArray& pathBytes);
QUrl fileUrl(const QString& path);

// A drop as the desktop delivers it: the window entered over the target
// control, then let go there; the event loop runs once so it is taken.
void dropOn(QWidget* target, const QMimeData& mime);

// A settings store that counts its syncs, and what the Quick window saw of
// it when it asked the program to end.
class CountingStore final : public platform::SettingsStore {
public:
    std::optional<QString> value(const QString& section, const QString& key) override
    {
        return memory.value(section, key);
    }
    void setValue(const QString& section, const QString& key, const QString& text) override
    {
        memory.setValue(section, key, text);
        ++writesSinceSync;
    }
    void removeKey(const QString& section, const QString& key) override { memory.removeKey(section, key); }
    void removeSection(const QString& section) override { memory.removeSection(section); }
    void sync() override
    {
        ++syncs;
        writesSinceSync = 0;
    }
    QString text(const char* section, const char* key) const
    {
        return memory.sections.value(QString::fromLatin1(section)).value(QString::fromLatin1(key), QStringLiteral("<none>"));
    }

    platform::MemorySettingsStore memory;
    int syncs = 0;
    int writesSinceSync = 0;
};

// Everything a Quick window reaches, faked where a test must see or steer it;
// the file system is the machine's.
class QuickFixture : public ::testing::Test {
protected:
    QuickFixture();
    ~QuickFixture() override;

    // A fresh window, shown, as opened from the menu unless told otherwise.
    quick::Form4& open(bool fromMenu = true);
    void closeWindow();

    // A synthetic drop of these paths (or of a text without files) on the
    // window, and the event loop run once so it is taken.
    void drop(const QStringList& paths);
    void dropUrls(const QList<QUrl>& urls);
    void dropText(const QString& text);
    void setMode(quick::QuickMode mode);

    // The boxes shown since the test began, as "title|text".
    QStringList boxes() const;

    CountingStore store;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDesktop desktop;
    FakeVolumes volumes;
    TestFileSystem fs;
    platform::Services services;
    TempDir dir;
    std::unique_ptr<quick::Form4> window;
};

} // namespace tavil::test
