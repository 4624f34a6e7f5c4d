#pragma once

#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "platform/gui/services.h"
#include "platform/settingsstore.h"
#include "support/settingsschema.h"
#include "tests/common/fakes.h"
#include "tests/common/guifakes.h"
#include "tests/common/tempdir.h"
#include "tests/common/testfs.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace tavil::test {

// The settings in memory, with every write and removal the program makes
// recorded in order ("Section/Key=value", "-Section/Key", "-Section").
class RecordingStore final : public platform::SettingsStore {
public:
    explicit RecordingStore(platform::MemorySettingsStore& inner) : m_inner(inner) {}
    std::optional<QString> value(const QString& section, const QString& key) override
    {
        return m_inner.value(section, key);
    }
    void setValue(const QString& section, const QString& key, const QString& text) override
    {
        log.append(section + u'/' + key + u'=' + text);
        m_inner.setValue(section, key, text);
    }
    void removeKey(const QString& section, const QString& key) override
    {
        log.append(u'-' + section + u'/' + key);
        m_inner.removeKey(section, key);
    }
    void removeSection(const QString& section) override
    {
        log.append(u'-' + section);
        m_inner.removeSection(section);
    }
    void sync() override {}

    QStringList log;

private:
    platform::MemorySettingsStore& m_inner;
};

// A main window over a temporary world: its own program folder, a folder to
// work in, settings in memory and scripted dialogs. Shared by the tests of the
// whole window.
struct WindowBench {
    TempDir home; // the program's own folder
    TempDir dir;  // the folder of the runs
    TempDir data; // where the error logs go
    TestFileSystem fs;
    platform::MemorySettingsStore store; // what the program reads; a test may fill it first
    RecordingStore writes{store};        // the program's writes, in order
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDesktop desktop;
    FakeVolumes volumes;
    platform::Services services{fs, writes, dialogs, clock, desktop, volumes, data.file(QStringLiteral("errlog")),
                                home.path()};
    std::unique_ptr<mainwin::Form1> form;

    // Starts the program; the splash goes at once.
    void start(const QString& commandLine = QString())
    {
        form = std::make_unique<mainwin::Form1>(services, commandLine);
        ASSERT_TRUE(form->Form_Load());
        form->Timer1_Timer();
    }
    // Starts in dir with the given files.
    void startIn(const QStringList& files)
    {
        for (const QString& name : files)
            dir.createFile(name, name.toUtf8());
        store.write(support::settings::Setting::Section, support::settings::Setting::Dir, dir.path());
        start();
        ASSERT_EQ(form->browser().path(), dir.path());
    }
    template <typename T>
    T* find(const char* name) const
    {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QStringList texts() const
    {
        QStringList out;
        for (const ShownBox& b : dialogs.shown)
            out.append(b.text);
        return out;
    }
};

} // namespace tavil::test
