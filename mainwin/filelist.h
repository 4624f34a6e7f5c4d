#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QStringList>

namespace tavil::mainwin {

// The names of the file list, one row a name. A row shows the name as the
// user is shown names (a byte that is not UTF-8 as "\xE9"); RawNameRole
// gives the name itself, which is what every call on the file takes.
class FileListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int RawNameRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void setNames(QStringList names);
    const QStringList& names() const { return m_names; }

private:
    QStringList m_names;
};

// The file list File1: one column of names, several selected at once. Its
// keys: F7 selects every file, F8 inverts the selection, Ctrl+Right asks for
// the selected files to be added to the selected-files list. The right
// button asks for the list's menu when there is a file, and leaves the
// selection as it was, since the menu acts on it.
class FileListView final : public QListView {
    Q_OBJECT
public:
    explicit FileListView(QWidget* parent);

    FileListModel* fileModel() const { return m_model; }

    void selectAllFiles();
    void invertSelection();
    // Names of the selected rows, in the list's order.
    QStringList selectedNames() const;

signals:
    void addRequested();
    void popupRequested(QPoint globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    FileListModel* m_model;
};

} // namespace tavil::mainwin
