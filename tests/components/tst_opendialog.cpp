#include "components/Dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QString VideoFilter =
    "all video files|*.mp4;*.asf;*.avi;*.qt;*.vob;*.mov;*.flv;*.mpq;*.wmv;*.3gp;*.3g2;*.rm;*.rmvb"
    "|mp4 video file|*.mp4|asf video file|*.asf|avi video file|*.avi|qt video file|*.qt"
    "|vob video file|*.vob|rm video file|*.rm|rmvb video file|*.rmvb|flv video file|*.flv"
    "|mov video file|*.mov|mpq video file|*.mpq|wmv video file|*.wmv|3gp video file|*.3gp"
    "|3g2 video file|*.3g2";

// What the real dialog showed while it was open.
struct Seen {
    QString title;
    QStringList filters;
    QString selectedFilter;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    QStringList files;
};

// Reads the dialog that Execute() opens, then lets 'finish' answer it. A
// second timer closes any dialog left open, so the test never hangs.
void WhenDialogOpens(const QString& folder, Seen* seen, std::function<void(QFileDialog*)> finish)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* model = dialog->findChild<QFileSystemModel*>();
        QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
        dialog->setDirectory(folder);
        loaded.wait(5000);
        seen->title = dialog->windowTitle();
        seen->filters = dialog->nameFilters();
        seen->selectedFilter = dialog->selectedNameFilter();
        seen->mode = dialog->fileMode();
        const QModelIndex root = model->index(folder);
        for (int row = 0; row < model->rowCount(root); ++row)
            seen->files << model->index(row, 0, root).data().toString();
        seen->files.sort();
        finish(dialog);
    });
    QTimer::singleShot(10000, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
}

} // namespace

class TestOpenDialog : public QObject {
    Q_OBJECT
private slots:
    void offersVideoFilesInAnyLetterCase()
    {
        QTemporaryDir folder;
        for (const char* name : {"CLIP.MP4", "Clip.Avi", "lower.mp4", "movie.rmvb", "phone.3G2", "Show.Qt",
                                 "notes.txt", "clip.mp4.txt", "film.mpeg", "mp4"})
            QFile(folder.filePath(name)).open(QIODevice::WriteOnly);
        QWidget owner;
        TOpenDialog dialog("OpenDialog1", &owner);
        dialog.Title = "Add video files";
        dialog.Filter = VideoFilter;
        Seen seen;
        WhenDialogOpens(folder.path(), &seen, [](QFileDialog* shown) {
            QTest::keyClicks(shown->findChild<QLineEdit*>("fileNameEdit"), "Clip.Avi");
            QTest::keyClick(shown->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
        });

        const bool chosen = dialog.Execute();
        QCOMPARE(seen.title, QString("Add video files"));
        QCOMPARE(seen.mode, QFileDialog::ExistingFiles);
        QCOMPARE(seen.filters.size(), 14);
        QCOMPARE(seen.selectedFilter, QString("all video files")); // the patterns stay hidden
        QVERIFY(seen.filters.constFirst().startsWith("all video files ("));
        QVERIFY(seen.filters.last().startsWith("3g2 video file ("));
        QCOMPARE(seen.files,
                 QStringList({"CLIP.MP4", "Clip.Avi", "Show.Qt", "lower.mp4", "movie.rmvb", "phone.3G2"}));
        QVERIFY(chosen);
        QCOMPARE(dialog.FileName, folder.filePath("Clip.Avi"));
        QCOMPARE(dialog.Files, QStringList{folder.filePath("Clip.Avi")});
    }

    void severalFilesComeBackInTheOrderChosen()
    {
        QTemporaryDir folder;
        for (const char* name : {"a.mp4", "b.avi", "c.mov"})
            QFile(folder.filePath(name)).open(QIODevice::WriteOnly);
        QWidget owner;
        TOpenDialog dialog("OpenDialog1", &owner);
        dialog.Filter = VideoFilter;
        Seen seen;
        WhenDialogOpens(folder.path(), &seen, [](QFileDialog* shown) {
            QTest::keyClicks(shown->findChild<QLineEdit*>("fileNameEdit"), "\"c.mov\" \"a.mp4\"");
            QTest::keyClick(shown->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
        });
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Files, (QStringList{folder.filePath("c.mov"), folder.filePath("a.mp4")}));
        QCOMPARE(dialog.FileName, folder.filePath("c.mov"));
    }

    void cancellingKeepsTheLastFileName()
    {
        QTemporaryDir folder;
        QWidget owner;
        TOpenDialog dialog("OpenDialog1", &owner);
        dialog.Filter = VideoFilter;
        dialog.FileName = "/earlier/choice.avi";
        Seen seen;
        WhenDialogOpens(folder.path(), &seen, [](QFileDialog* shown) { shown->reject(); });
        QVERIFY(!dialog.Execute());
        QCOMPARE(dialog.FileName, QString("/earlier/choice.avi"));
    }
};

QTEST_MAIN(TestOpenDialog)
#include "tst_opendialog.moc"
