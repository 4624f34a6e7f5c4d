#pragma once

#include "engine/rundriver.h"
#include "tests/common/fakes.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <functional>

namespace tavil::test {

// The main window as the run driver sees it. The RunHost part is a FakeHost
// (`run`), so status texts, pumps and beeps are recorded the same way; the
// folder box follows real folders on disk, and the operation is a function
// the test supplies. `events` records the window-level calls in order.
class FakeDriverHost final : public engine::DriverHost {
public:
    // RunHost, forwarded to the FakeHost.
    void setStatus(int panel, const QString& text) override { run.setStatus(panel, text); }
    void setProgressMax(int max) override { run.setProgressMax(max); }
    void setProgressValue(int value) override { run.setProgressValue(value); }
    void setProgressVisible(bool visible) override { run.setProgressVisible(visible); }
    void processEvents() override { run.processEvents(); }
    void beep() override { run.beep(); }
    void clearWorkList() override { run.clearWorkList(); }
    void refreshFileList() override { run.refreshFileList(); }
    void focusControl(const QString& objectName) override { run.focusControl(objectName); }

    QString selectedTabCaption() override { return caption; }
    bool selectMode() override { return select; }
    QStringList workList() override { return selected; }
    // The files of the current folder, as the file browser lists them.
    QStringList fileList() override
    {
        if (files)
            return files(folder);
        return QDir(folder).entryList(QDir::Files, QDir::Name);
    }
    QString folderPath() override { return folder; }
    bool setFolderPath(const QString& path) override
    {
        if (!QDir(path).exists())
            return false;
        folder = path;
        folderLog.append(path);
        return true;
    }
    bool includeSubfolders() override { return subfolders; }
    int importListCount() override { return importCount; }
    bool outputButtonPressed() override { return outputPressed; }
    void releaseOutputButton() override
    {
        outputPressed = false;
        events.append(QStringLiteral("release"));
    }
    QString outFolder() override { return output; }
    void prepareProgress() override { events.append(QStringLiteral("prepare")); }
    void hideProgress() override { events.append(QStringLiteral("hide")); }
    void lockWindow() override
    {
        ++locks;
        events.append(QStringLiteral("lock"));
    }
    void unlockWindow(bool includeSubfolders) override
    {
        ++unlocks;
        unlockedWithSubfolders = includeSubfolders;
        events.append(QStringLiteral("unlock"));
    }
    void setPresetButtonsEnabled(bool enabled) override
    {
        events.append(enabled ? QStringLiteral("presets on") : QStringLiteral("presets off"));
    }
    bool callOperation(engine::Tab tab, engine::RunContext& ctx) override
    {
        ++calls;
        calledTabs.append(tab);
        calledFolders.append(folder);
        calledLists.append(ctx.objList);
        events.append(QStringLiteral("call"));
        return operation ? operation(tab, ctx) : false;
    }

    FakeHost run;
    QString caption = QStringLiteral(u"拡張子");
    bool select = false;
    QStringList selected;
    std::function<QStringList(const QString& folder)> files; // unset: the folder's real files
    QString folder;
    bool subfolders = false;
    int importCount = 0;
    bool outputPressed = false;
    QString output;
    std::function<bool(engine::Tab, engine::RunContext&)> operation;

    QStringList events;
    QStringList folderLog; // every folder the box was set to
    int locks = 0;
    int unlocks = 0;
    bool unlockedWithSubfolders = false;
    int calls = 0;
    QList<engine::Tab> calledTabs;
    QStringList calledFolders;
    QList<QStringList> calledLists;
};

} // namespace tavil::test
