// Output naming in a real folder tree with symbolic and hard links: the name
// chosen is the first of "<base>.mp4", "<base> (2).mp4", … that is not one of
// the taken files, where a file is taken when it is reached by the same path
// after links are resolved or, for files that exist, is the same file on disk
// (device and inode).
//
// The input is a list of steps, each a code byte and one or two path bytes:
//   0 p     create the file p
//   1 p q   make q a hard link of p
//   2 p q   make q a symbolic link to p
//   3 p     count p as taken (a listed source or an earlier output)
//   4 p     want the output p (its name is made to end in ".mp4")
// A path byte picks a spelling of a folder (high nibble) and a file name
// (low nibble). Folder "l" is a symbolic link to "a".
#include "FuzzCheck.h"

#include "batch/OutputNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <optional>

namespace {

constexpr const char* Folders[] = {"a", "b", "l", "a/.", "b/", "b/../a"};
constexpr const char* Names[] = {"clip.mp4", "clip (2).mp4", "clip (3).mp4", "clip.avi", "other.mp4"};

class Tree {
public:
    Tree() : root_(QDir(dir_.path()).canonicalPath())
    {
        QDir(root_).mkpath("a");
        QDir(root_).mkpath("b");
        QFile::link(root_ + "/a", root_ + "/l");
    }

    QString Path(unsigned char code) const
    {
        return root_ + '/' + Folders[(code >> 4) % std::size(Folders)] + '/' + Names[(code & 15) % std::size(Names)];
    }

private:
    QTemporaryDir dir_;
    QString root_;
};

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

std::optional<struct stat> FileStatus(const QString& path)
{
    struct stat status {};
    if (::stat(Native(path).constData(), &status) != 0)
        return std::nullopt;
    return status;
}

// The path with every link and "." or ".." resolved; the folders of the tree
// always exist, the file itself may not.
QByteArray Resolved(const QString& path)
{
    char resolved[PATH_MAX];
    if (::realpath(Native(path).constData(), resolved))
        return resolved;
    const qsizetype slash = path.lastIndexOf('/');
    FUZZ_REQUIRE(::realpath(Native(path.left(slash)).constData(), resolved));
    return QByteArray(resolved) + Native(path.mid(slash));
}

bool SameFile(const QString& one, const QString& other)
{
    if (Resolved(one) == Resolved(other))
        return true;
    const auto first = FileStatus(one);
    const auto second = FileStatus(other);
    return first && second && first->st_dev == second->st_dev && first->st_ino == second->st_ino;
}

bool IsTaken(const QString& path, const QStringList& taken)
{
    for (const QString& takenPath : taken)
        if (SameFile(path, takenPath))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Tree tree;
    QStringList taken;
    QString wanted = tree.Path(0);
    for (size_t at = 0; at + 1 < size;) {
        const unsigned char step = data[at] % 5;
        const QString path = tree.Path(data[at + 1]);
        const bool twoPaths = step == 1 || step == 2;
        if (twoPaths && at + 2 >= size)
            break;
        const QString second = twoPaths ? tree.Path(data[at + 2]) : QString();
        at += twoPaths ? 3 : 2;
        switch (step) {
        case 0:
            QFile(path).open(QIODevice::WriteOnly);
            break;
        case 1:
            ::link(Native(path).constData(), Native(second).constData());
            break;
        case 2:
            // Only to a file that exists: a dangling link is no file yet.
            if (FileStatus(path))
                QFile::link(path, second);
            break;
        case 3:
            taken.append(path);
            break;
        case 4:
            wanted = path.endsWith(".mp4") ? path : path + ".mp4";
            break;
        }
    }

    const QString chosen = FreeOutputPath(wanted, taken);
    const auto explain = [&] {
        std::fprintf(stderr, "wanted %s, chosen %s, taken:\n", qPrintable(wanted), qPrintable(chosen));
        for (const QString& path : taken)
            std::fprintf(stderr, "  %s\n", qPrintable(path));
    };
    const QString stem = wanted.chopped(4);
    for (int number = 1;; ++number) {
        const QString candidate = number == 1 ? wanted : QStringLiteral("%1 (%2).mp4").arg(stem).arg(number);
        if (!IsTaken(candidate, taken)) {
            if (chosen != candidate)
                explain();
            FUZZ_REQUIRE(chosen == candidate);
            break;
        }
        if (chosen == candidate)
            explain();
        FUZZ_REQUIRE(chosen != candidate);
        // A candidate is taken by a listed path or by a file on disk that
        // is one of them through a link: the tree holds only so many names.
        FUZZ_REQUIRE(number <= taken.size() + qsizetype(std::size(Folders) * std::size(Names)) + 1);
    }
    return 0;
}
