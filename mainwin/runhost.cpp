#include "mainwin/runhost.h"

#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/presetbar.h"
#include "mainwin/progress.h"
#include "mainwin/selectedlists.h"
#include "mainwin/statusarea.h"
#include "mainwin/tabpages.h"
#include "platform/gui/desktop.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QListWidget>

#include <utility>

namespace tavil::mainwin {

void Form1RunHost::setStatus(int panel, const QString& text)
{
    m_form.status().setPanelText(panel, text);
}

void Form1RunHost::setProgressMax(int max)
{
    m_form.status().gProgress().setMax(max);
}

void Form1RunHost::setProgressValue(int value)
{
    m_form.status().gProgress().setValue(value);
}

void Form1RunHost::setProgressVisible(bool visible)
{
    if (visible)
        (void)m_form.status().showProgress();
    else
        m_form.status().hideProgress();
}

void Form1RunHost::processEvents()
{
    // The window repaints and the abort button acts during this call.
    QCoreApplication::processEvents();
}

void Form1RunHost::beep()
{
    m_form.m_services.desktop.beep();
}

void Form1RunHost::clearWorkList()
{
    m_form.lists().clearWorkList();
}

void Form1RunHost::refreshFileList()
{
    if (m_locked)
        m_rereadPending = true;
    else
        m_form.browser().refreshFiles();
}

void Form1RunHost::focusField(engine::Field field)
{
    m_form.tabs().focusField(field);
}

void Form1RunHost::prepareProgress()
{
    (void)m_form.status().showProgress();
}

engine::RunRequest Form1RunHost::request()
{
    m_picksEmptied = false; // what an earlier run found is not this one's to tell
    engine::RunRequest r;
    r.tabCaption = m_form.tabs().selectedCaption();
    r.selectMode = m_form.lists().selectMode();
    r.workList = m_form.lists().workList();
    r.fileList = m_form.browser().allFiles();
    r.folder = m_form.browser().path();
    r.folderId = m_form.browser().folderId();
    r.includeSubfolders = m_form.tabs().chkSubDir->isChecked();
    r.importCount = m_form.tabs().List4->count();
    r.outputPressed = m_form.status().outputButtonPressed();
    r.outFolder = m_form.status().outFolder();
    return r;
}

engine::OperationParams Form1RunHost::params(engine::Tab tab)
{
    return m_form.tabs().gather(tab);
}

std::optional<QStringList> Form1RunHost::enterFolder(const QString& folder)
{
    std::optional<QStringList> files = m_form.browser().filesIn(folder);
    // Opening the folder has read it, its files and folders, as it is now.
    if (files)
        m_rereadPending = false;
    return files;
}

bool Form1RunHost::rereadFolder()
{
    // What the menu's refresh does: the files and the folders, from one
    // reading.
    m_form.browser().reread();
    return std::exchange(m_picksEmptied, false);
}

void Form1RunHost::releaseOutputButton()
{
    m_form.status().releaseOutputButton();
}

void Form1RunHost::lockWindow()
{
    m_locked = true;
    m_rereadPending = false;
    m_form.lockForRun();
}

void Form1RunHost::unlockWindow(bool includeSubfolders)
{
    m_locked = false;
    m_form.unlockAfterRun(includeSubfolders);
    // One reading of the folder gives both the file list and the folder
    // list.
    if (m_rereadPending)
        m_form.browser().reread();
    m_rereadPending = false;
}

void Form1RunHost::setPresetButtonsEnabled(bool enabled)
{
    m_form.tabs().Toolbar1->setButtonsEnabled(enabled);
}

} // namespace tavil::mainwin
