#pragma once

#include <QMap>
#include <QString>

#include <memory>
#include <optional>

class QSettings;

namespace tavil::platform {

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

// QSettings("Tavil", "Tavil"): $XDG_CONFIG_HOME/Tavil/Tavil.conf.
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    explicit QtSettingsStore(const QString& iniPath);
    ~QtSettingsStore() override;

    std::optional<QString> value(const QString& section, const QString& key) override;
    void setValue(const QString& section, const QString& key, const QString& text) override;
    void removeKey(const QString& section, const QString& key) override;
    void removeSection(const QString& section) override;
    void sync() override;

private:
    std::unique_ptr<QSettings> m_settings;
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
