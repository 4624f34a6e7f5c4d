#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QMimeData;
class QPoint;

namespace tavil::platform {
struct Services;
}

namespace tavil::mainwin {

class SelectedLists;
class StatusSink;
class TabPages;
using platform::Services;

// The import list List4 of the import tab: a text file dropped on the tab's
// page or on the list becomes the list's names, split by the separator that
// Combo3 shows; the list's keys and its share of the list popup. The names
// are kept as the file's text; the import operation judges them before it
// renames anything.
//
// Form1 owns this object; the controls belong to TabPages.
class ImportList final : public QObject {
    Q_OBJECT
public:
    ImportList(TabPages& tabs, SelectedLists& lists, StatusSink& status, Services& services);
    ~ImportList() override;

    // A drop on page `index` (0-based) of the tab pages: only the import
    // page (6) imports; any other page only reports that nothing was found.
    void Frame1_OLEDragDrop(int index, const QMimeData* data);
    void List4_OLEDragDrop(const QMimeData* data);
    // The import itself, of one file (a raw path, platform/fsname.h). True
    // when the list took the file's names; on any failure the list is as it
    // was, with a message saying why.
    bool importFile(const QString& path);
    bool importing() const { return m_importing; }

    // The names of the list, as the file gave them (line breaks included).
    QStringList names() const;
    // Delete, and "削除(&D)" of the popup: the selected entries go.
    void removeSelected();

    void List4_KeyDown(int key, Qt::KeyboardModifiers modifiers, bool* consumed);
    // Any button; the right one opens the list popup.
    void List4_MouseDown(Qt::MouseButton button, const QPoint& globalPos);

private:
    class DropFilter;
    class ListFilter;
    class Lock;

    void wire();
    void setNames(const QStringList& names);
    void closingSteps(int found);
    void refuse(const QString& text);

    TabPages& m_tabs;
    SelectedLists& m_lists;
    StatusSink& m_status;
    Services& m_services;
    bool m_importing = false;
};

} // namespace tavil::mainwin
