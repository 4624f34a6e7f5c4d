#pragma once

#include <QDialog>
#include <QString>

namespace tavil::mainwin {

struct Services;

// The numbered-folders dialog: makes a range or a count of numbered
// folders in a chosen folder.
class Form5 : public QDialog {
    Q_OBJECT
public:
    Form5(Services& services, const QString& parentFolder, QWidget* owner = nullptr);
    ~Form5() override;

private:
    Services& m_services;
    QString m_parentFolder;
};

} // namespace tavil::mainwin
