#pragma once

#include "engine/rundriver.h"

namespace tavil::mainwin {

class Form1;

// The main window as the run driver sees it: every call goes to the piece of
// Form1 that owns what it touches.
class Form1RunHost final : public engine::DriverHost {
public:
    explicit Form1RunHost(Form1& form) : m_form(form) {}

    void setStatus(int panel, const QString& text) override;
    void setProgressMax(int max) override;
    void setProgressValue(int value) override;
    void setProgressVisible(bool visible) override;
    void processEvents() override;
    void beep() override;
    void clearWorkList() override;
    void refreshFileList() override;
    void focusField(engine::Field field) override;

    void prepareProgress() override;
    engine::RunRequest request() override;
    engine::OperationParams params(engine::Tab tab) override;
    std::optional<QStringList> enterFolder(const QString& folder) override;
    bool rereadFolder() override;
    void releaseOutputButton() override;
    void lockWindow() override;
    void unlockWindow(bool includeSubfolders) override;
    void setPresetButtonsEnabled(bool enabled) override;

    // A reading during the run found another folder at the open folder's
    // path and emptied the selected-files lists; hadPicks: they held
    // entries. Told with the run's next message about that folder.
    void folderReplaced(bool hadPicks) { m_picksEmptied = m_picksEmptied || hadPicks; }

private:
    Form1& m_form;
    // While the window is locked the file list is read again only once, at
    // the end: a listing of a big folder each time an operation asks would
    // freeze the window for nothing.
    bool m_locked = false;
    bool m_rereadPending = false;
    bool m_picksEmptied = false;
};

} // namespace tavil::mainwin
