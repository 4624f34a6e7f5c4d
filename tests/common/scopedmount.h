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

// A fresh ext2 file system made in the file `image` (in a test's temporary
// folder) and mounted over the folder `over` through a loop device: a card
// put in. Its inodes are 128 bytes, as on old cards and images, so it keeps
// no birth time. Unmounted and its loop device given back at the latest when
// this goes. Needs root, a loop device and mkfs.ext2; tests skip with
// problem() when mounted() is false.
class ScopedLoopMount {
public:
    ScopedLoopMount(const QString& image, const QString& over);
    // The same image put in again: the file system as it was left.
    ScopedLoopMount(const QString& image, const QString& over, bool reuse);
    ~ScopedLoopMount();
    ScopedLoopMount(const ScopedLoopMount&) = delete;
    ScopedLoopMount& operator=(const ScopedLoopMount&) = delete;

    bool mounted() const { return m_mounted; }
    QString problem() const { return m_problem; }
    // The card taken out. False when something still held the volume (it is
    // then taken away lazily, as ScopedMount does).
    bool unmount();

private:
    void attach(const QString& image, bool reuse);

    QByteArray m_over;
    QByteArray m_device; // /dev/loopN
    int m_loopFd = -1;
    bool m_mounted = false;
    QString m_problem;
};

// The folder `lower` seen through an overlay mounted on scratch/merged, with
// its writable layer in scratch/upper: the file system of a live system or a
// container. The lower folder is filled first and left alone afterwards.
// Taken away at the latest when this goes; tests skip when mounted() is false.
class ScopedOverlay {
public:
    ScopedOverlay(const QString& lower, const QString& scratch);
    ~ScopedOverlay();
    ScopedOverlay(const ScopedOverlay&) = delete;
    ScopedOverlay& operator=(const ScopedOverlay&) = delete;

    bool mounted() const { return m_mounted; }
    QString merged() const { return m_merged; }

private:
    QString m_merged;
    bool m_mounted = false;
};

} // namespace tavil::test
