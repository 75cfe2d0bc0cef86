// Output naming in a real folder tree with symbolic and hard links: the name
// chosen is the first of "<base>.mp4", "<base> (2).mp4", … that the listing
// of its folder lacks; a link that leads nowhere is listed too.
//
// The input is a list of steps, each a code byte and one or two path bytes:
//   0 p     create the file p
//   1 p q   make q a hard link of p
//   2 p q   make q a symbolic link to p, also when p is not there
//   3 p     remove p
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

// Every name in the folder the path leads to, after its links and "." or
// "..": what a file manager would show there.
QStringList NamesBeside(const QString& path)
{
    char resolved[PATH_MAX];
    const qsizetype slash = path.lastIndexOf('/');
    FUZZ_REQUIRE(::realpath(Native(path.left(slash)).constData(), resolved));
    return QDir(QFile::decodeName(resolved))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Tree tree;
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
            QFile::link(path, second);
            break;
        case 3:
            QFile::remove(path);
            break;
        case 4:
            wanted = path.endsWith(".mp4") ? path : path + ".mp4";
            break;
        }
    }

    const QString chosen = FreeOutputPath(wanted);
    const QStringList listed = NamesBeside(wanted);
    const QString stem = wanted.chopped(4);
    for (int number = 1;; ++number) {
        const QString candidate = number == 1 ? wanted : QStringLiteral("%1 (%2).mp4").arg(stem).arg(number);
        if (!listed.contains(candidate.mid(candidate.lastIndexOf('/') + 1))) {
            if (chosen != candidate)
                std::fprintf(stderr, "wanted %s, chosen %s, free %s\n", qPrintable(wanted), qPrintable(chosen),
                             qPrintable(candidate));
            FUZZ_REQUIRE(chosen == candidate);
            break;
        }
        FUZZ_REQUIRE(chosen != candidate);
        FUZZ_REQUIRE(number <= listed.size());
    }
    return 0;
}
