#pragma once

namespace tavil::platform {
class Desktop;
class Dialogs;
class FileSystem;
} // namespace tavil::platform

namespace tavil::support {
class classFile;
}

namespace tavil::quick {

// What the Quick window's operations reach of the window.
class QuickHost {
public:
    virtual ~QuickHost() = default;
    virtual void setProgressMax(int max) = 0;
    virtual void setProgressValue(int value) = 0;
    virtual void beep() = 0;
    // Forgets every dropped path.
    virtual void clearCollection() = 0;
};

// Everything one operation works with; file is the window's file object.
struct QuickTools {
    platform::FileSystem& fs;
    platform::Dialogs& dialogs;
    platform::Desktop& desktop;
    support::classFile& file;
    QuickHost& host;
};

} // namespace tavil::quick
