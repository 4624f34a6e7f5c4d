#pragma once

#include <QByteArray>
#include <QString>

#include <sys/mount.h>

namespace tavil::test {

// A small tmpfs laid over a folder, taken away again at the latest when this
// goes: what a removable disk that is put in or pulled out does to a folder.
// Mounting needs the right to (root outside a restricting container); tests
// skip when mounted() is false.
class ScopedMount {
public:
    explicit ScopedMount(const QString& over) : m_over(over.toUtf8())
    {
        m_mounted = ::mount("tmpfs", m_over.constData(), "tmpfs", 0, "size=1m") == 0;
    }
    ~ScopedMount() { unmount(); }
    ScopedMount(const ScopedMount&) = delete;
    ScopedMount& operator=(const ScopedMount&) = delete;

    bool mounted() const { return m_mounted; }
    // The folder beneath shows again; a process still inside keeps the
    // mount until it leaves.
    void unmount()
    {
        if (m_mounted)
            ::umount2(m_over.constData(), MNT_DETACH);
        m_mounted = false;
    }

private:
    QByteArray m_over;
    bool m_mounted = false;
};

} // namespace tavil::test
