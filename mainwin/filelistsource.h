#pragma once

#include <QStringList>

namespace tavil::mainwin {

// The file list File1 as the selected-files lists see it. Names are the raw
// names of the open folder (platform/fsname.h), in the list's order.
class FileListSource {
public:
    virtual ~FileListSource() = default;
    virtual int fileCount() const = 0;
    virtual QStringList allFiles() const = 0;
    virtual QStringList selectedFiles() const = 0;
    virtual void selectAllFiles() = 0;
    virtual void invertFileSelection() = 0;
};

} // namespace tavil::mainwin
