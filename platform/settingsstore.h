#pragma once

#include <QMap>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace tavil::platform {

class Dialogs;

// The per-user store: text values addressed by section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::optional<QString> value(const QString& section, const QString& key) = 0;
    virtual void setValue(const QString& section, const QString& key, const QString& text) = 0;
    virtual void removeKey(const QString& section, const QString& key) = 0;
    virtual void removeSection(const QString& section) = 0;
    virtual void sync() = 0;

    // The stored text, or the default when the key is missing (a stored ""
    // stays "").
    QString read(const QString& section, const QString& key, const QString& def = QString())
    {
        return value(section, key).value_or(def);
    }
    // A literal default must not fall through to the bool overload.
    QString read(const QString& section, const QString& key, const char* def)
    {
        return read(section, key, QString::fromUtf8(def));
    }
    QString read(const QString& section, const QString& key, int def)
    {
        return read(section, key, QString::number(def));
    }
    QString read(const QString& section, const QString& key, bool def)
    {
        return read(section, key, def ? QStringLiteral("True") : QStringLiteral("False"));
    }
    void write(const QString& section, const QString& key, const QString& text) { setValue(section, key, text); }
};

// What kept the settings file from being read or written: the file, the
// step that failed ("read", "link", "folder", "access", "create", "write",
// "sync", "replace") and the system's error number.
struct SettingsFailure {
    QString file;
    QString step;
    int sysErrno = 0;
    bool reading = false; // the file is there but could not be read
};

// The message the user is told a failure with.
QString settingsFailureText(const SettingsFailure& failure);
QString settingsFailureTitle();

// The per-user settings file, $XDG_CONFIG_HOME/Tavil/Tavil.conf
// (~/.config/Tavil/Tavil.conf when it is unset), read whole when the store
// is made and written whole, into a temporary file that then takes the
// file's place, so that a full disk never leaves half a file.
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    explicit QtSettingsStore(const QString& path);
    // For tests: the file's steps fail as inject says (see injectErrno), the
    // reading included.
    QtSettingsStore(const QString& path, std::function<int(const char* call, const QString& path)> inject);
    // Writes what is not written yet; a failure then is told to no one (the
    // windows are gone): sync() at the program's end is where it is told.
    ~QtSettingsStore() override;

    std::optional<QString> value(const QString& section, const QString& key) override;
    void setValue(const QString& section, const QString& key, const QString& text) override;
    void removeKey(const QString& section, const QString& key) override;
    void removeSection(const QString& section) override;
    void sync() override;

    QString path() const;
    // The first failure, if there was one.
    std::optional<SettingsFailure> failure() const;
    // The first failure is told through these dialogs, once for the store's
    // life; one that happened before (an unreadable file) is told at once.
    // nullptr tells no one.
    void reportTo(Dialogs* dialogs);

    // Tests make a step fail: the errno to fail with, or 0. The calls are
    // "read", "folder", "access", "create", "write", "sync" and "replace",
    // each with the path it works on.
    std::function<int(const char* call, const QString& path)> injectErrno;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// In memory, for tests.
class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<QString> value(const QString& section, const QString& key) override;
    void setValue(const QString& section, const QString& key, const QString& text) override;
    void removeKey(const QString& section, const QString& key) override;
    void removeSection(const QString& section) override;
    void sync() override {}

    QMap<QString, QMap<QString, QString>> sections;
};

} // namespace tavil::platform
