#pragma once

#include <QListWidget>
#include <QStringList>

namespace tavil::mainwin {

// The folder list Dir1: the open folder's ancestors from the root down, the
// open folder (highlighted), then its sub-folders, each indented one step
// more than its parent. A click only highlights an entry; a double click or
// Enter asks for the highlighted entry to be opened. The right button asks
// for the folder menu and leaves the highlight where it was.
class DirList final : public QListWidget {
    Q_OBJECT
public:
    static constexpr int PathRole = Qt::UserRole;      // the entry's folder, raw
    static constexpr int LevelRole = Qt::UserRole + 1; // its depth below the root

    explicit DirList(QWidget* parent);

    // folder is absolute without a closing "/" ("/" itself for the root);
    // subfolders are bare raw names in the order to show.
    void showFolder(const QString& folder, const QStringList& subfolders);
    QString entryPath(int row) const;
    int openRow() const { return m_openRow; }

signals:
    void openRequested(const QString& folder);
    void popupRequested(QPoint globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int m_openRow = -1;
};

} // namespace tavil::mainwin
