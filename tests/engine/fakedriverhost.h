#pragma once

#include "engine/rundriver.h"
#include "platform/filesystem.h"
#include "platform/linuxfilesystem.h"
#include "tests/common/fakes.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <functional>

namespace tavil::test {

// The parameters a tab holds when nothing was typed into it.
engine::OperationParams defaultParams(engine::Tab tab);

// The main window as the run driver sees it. The RunHost part is a FakeHost
// (`run`), so status texts, pumps and beeps are recorded the same way; the
// folder box follows real folders on disk (through `fs` when it is set, as a
// name that is not UTF-8 needs). `events` records the window-level calls in
// order.
class FakeDriverHost final : public engine::DriverHost {
public:
    // RunHost, forwarded to the FakeHost.
    void setStatus(int panel, const QString& text) override { run.setStatus(panel, text); }
    void setProgressMax(int max) override { run.setProgressMax(max); }
    void setProgressValue(int value) override { run.setProgressValue(value); }
    void setProgressVisible(bool visible) override
    {
        run.setProgressVisible(visible);
        events.append(visible ? QStringLiteral("show") : QStringLiteral("hide"));
    }
    void processEvents() override { run.processEvents(); }
    void beep() override { run.beep(); }
    void clearWorkList() override { run.clearWorkList(); }
    void refreshFileList() override { run.refreshFileList(); }
    void focusField(engine::Field field) override { run.focusField(field); }

    void prepareProgress() override { events.append(QStringLiteral("prepare")); }
    engine::RunRequest request() override
    {
        engine::RunRequest r;
        r.tabCaption = caption;
        r.selectMode = select;
        r.workList = selected;
        r.fileList = fileList();
        r.folder = folder;
        // Unless a test took it earlier, the folder is listed just now.
        r.folderId = listedId ? *listedId : disk().folderId(folder);
        r.includeSubfolders = subfolders;
        r.importCount = importCount;
        r.outputPressed = outputPressed;
        r.outFolder = output;
        return r;
    }
    engine::OperationParams params(engine::Tab tab) override
    {
        ++paramsRead;
        return paramsFor ? paramsFor(tab) : defaultParams(tab);
    }
    std::optional<QStringList> enterFolder(const QString& path) override
    {
        if (onEnter)
            onEnter(path);
        if (fs != nullptr ? !fs->stat(path).isDir : !QDir(path).exists())
            return std::nullopt;
        folder = path;
        folderLog.append(path);
        listedId = disk().folderId(path);
        return fileList();
    }
    bool rereadFolder() override
    {
        ++rereads;
        events.append(QStringLiteral("reread"));
        listedId = disk().folderId(folder);
        return picksEmptied;
    }
    void releaseOutputButton() override
    {
        outputPressed = false;
        events.append(QStringLiteral("release"));
    }
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

    // What the folder box looks at the disk through.
    platform::FileSystem& disk() { return fs != nullptr ? *fs : ownFs; }
    // The browser lists its folder now: the files a run will get and the
    // folder they belong to.
    void listFolder() { listedId = disk().folderId(folder); }

    // The files of the current folder, as the file browser lists them.
    QStringList fileList()
    {
        if (files)
            return files(folder);
        if (fs != nullptr)
            return visibleFiles(*fs, folder);
        return QDir(folder).entryList(QDir::Files, QDir::Name);
    }

    // The files of folder that the browser shows (no folders, no dot
    // names), read through fs in code-point order.
    static QStringList visibleFiles(platform::FileSystem& fs, const QString& folder)
    {
        QList<platform::DirEntry> entries;
        if (!fs.listDir(folder, &entries).ok())
            return {};
        QStringList names;
        for (const platform::DirEntry& e : entries)
            if (!e.isDir && !e.isHidden)
                names.append(e.name);
        names.sort(Qt::CaseSensitive);
        return names;
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
    std::function<engine::OperationParams(engine::Tab)> paramsFor; // unset: defaultParams
    platform::FileSystem* fs = nullptr; // unset: the folder box goes through QDir
    platform::LinuxFileSystem ownFs;    // the folder's identity when fs is unset
    // The folder the browser listed; unset: whatever is at `folder` when
    // the run asks.
    std::optional<platform::FolderId> listedId;
    // What rereadFolder answers: whether the reading emptied the
    // selected-files lists.
    bool picksEmptied = false;
    // Runs as the folder box is about to be set to a folder, before it looks.
    std::function<void(const QString& folder)> onEnter;

    QStringList events;
    QStringList folderLog; // every folder the box was set to
    int locks = 0;
    int unlocks = 0;
    bool unlockedWithSubfolders = false;
    int paramsRead = 0;
    int rereads = 0;
};

// Stands in for the operations: records every call the driver makes and
// runs `operation` (or nothing) in its place.
struct RecordingRunner {
    std::function<bool(engine::Tab, engine::RunContext&)> operation;
    int calls = 0;
    QList<engine::Tab> calledTabs;
    QStringList calledFolders; // SourceFolder at each call
    QList<QStringList> calledLists;
    QStringList* events = nullptr;

    engine::OperationRunner runner()
    {
        return [this](engine::RunContext& ctx, const engine::OperationParams& params) {
            ++calls;
            calledTabs.append(engine::tabOf(params));
            calledFolders.append(ctx.SourceFolder);
            calledLists.append(ctx.objList);
            if (events)
                events->append(QStringLiteral("call"));
            return operation ? operation(engine::tabOf(params), ctx) : false;
        };
    }
};

} // namespace tavil::test
