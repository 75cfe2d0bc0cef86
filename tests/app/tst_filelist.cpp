// The source file list and the information panel in the real window, with
// clips made by ffmpeg and the real media-information library.

#include "Clips.h"
#include "ProgramFixture.h"
#include "app/FFmpegGUI.h"
#include "engine/FFmpegFunc.h"
#include "components/CursorEdit.h"
#include "components/ImageList.h"
#include "media/MediaInfoDll.h"

#include <QLineEdit>
#include <QMimeData>
#include <QRegularExpression>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QString OddName = QString::fromUtf8("l'été \"Видео\" clip.mp4");

// A panel line without a value, as opposed to one with an empty value.
const QString NoValue = "<no value>";

QString Value(const QTreeWidgetItem* line)
{
    const QVariant value = line->data(1, Qt::DisplayRole);
    return value.isValid() ? value.toString() : NoValue;
}

QStringList PanelValues(const TFFmpegFrm* window)
{
    QStringList values;
    for (int line = 0; line < window->MsgListView->topLevelItemCount(); ++line)
        values << Value(window->MsgListView->topLevelItem(line));
    return values;
}

QStringList Column(const TFFmpegFrm* window, int column)
{
    QStringList texts;
    for (int row = 0; row < window->FileListView->topLevelItemCount(); ++row)
        texts << window->FileListView->topLevelItem(row)->text(column);
    return texts;
}

QStringList RowTexts(const QTreeWidgetItem* row)
{
    QStringList texts;
    for (int column = 0; column < row->columnCount(); ++column)
        texts << row->text(column);
    return texts;
}

void AddFile(TFFmpegFrm* window, std::optional<QString> answer)
{
    DialogSeam::AnswerNext(std::move(answer));
    window->AddFileBtn->click();
}

// Drags the addresses over the list as a file manager would; true when the
// list accepted the drag. When it did, they are dropped.
bool Drop(TFFmpegFrm* window, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    QWidget* viewport = window->FileListView->viewport();
    const QPoint middle = viewport->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &drop);
    return true;
}

QList<QStringList> AllRowTexts(const TFFmpegFrm* window)
{
    QList<QStringList> rows;
    for (int row = 0; row < window->FileListView->topLevelItemCount(); ++row)
        rows << RowTexts(window->FileListView->topLevelItem(row));
    return rows;
}

void ClickRow(TFFmpegFrm* window, int row)
{
    const QRect rect = window->FileListView->visualItemRect(window->FileListView->topLevelItem(row));
    QTest::mouseClick(window->FileListView->viewport(), Qt::LeftButton, {}, rect.center());
}

// Below the last row: clicking there selects nothing.
void ClickBelowRows(TFFmpegFrm* window)
{
    QWidget* viewport = window->FileListView->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(20, viewport->height() - 5));
}

QString Library(const QString& path, int stream, const char* parameter)
{
    LoadMediaInfo(MediaInfoLibraryName);
    return QString::fromUtf8(MediaInfoQuery(path.toUtf8()).Get(stream, parameter));
}

// Line 0 keeps the empty value the window gave it.
const QStringList EmptiedPanel = {"", "", "", "", "", NoValue, "", "", "", "", "", NoValue, "", "", "", ""};

} // namespace

class TestFileList : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_clips;
    QString m_withAudio, m_videoOnly, m_audioOnly, m_zeroBytes, m_textAsVideo, m_oddName;

private slots:
    void initTestCase()
    {
        QVERIFY(m_clips.isValid());
        ClipOptions clip;
        m_withAudio = MakeClip(m_clips.path(), clip);
        clip.fileName = "silent.mp4";
        clip.audio = false;
        m_videoOnly = MakeClip(m_clips.path(), clip);
        clip.fileName = "tone.m4a";
        clip.audio = true;
        clip.video = false;
        m_audioOnly = MakeClip(m_clips.path(), clip);
        clip = ClipOptions();
        clip.fileName = OddName;
        clip.seconds = 2;
        clip.width = 160;
        clip.height = 120;
        m_oddName = MakeClip(m_clips.path(), clip);
        m_zeroBytes = MakeFile(m_clips.path(), "empty.mp4");
        m_textAsVideo = MakeFile(m_clips.path(), "notes.avi", "not a video at all\n");
    }

    // Lines 6-10 and 12-15 hold the library's own words, except that a codec
    // the library leaves unnamed is called by its format.
    void rowAndPanelDescribeTheFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("row");        // type, size, playing time, percent
        QTest::addColumn<QStringList>("general");    // panel lines 1-4
        QTest::addColumn<QStringList>("video");      // panel lines 6-10
        QTest::addColumn<QStringList>("audio");      // panel lines 12-15
        using namespace MediaInfoStream;
        const auto videoOf = [](const QString& path, const QString& codec, const QString& size) {
            return QStringList{codec, Library(path, Video, "BitRate/String"), size,
                               Library(path, Video, "FrameRate/String"),
                               Library(path, Video, "DisplayAspectRatio/String")};
        };
        const auto audioOf = [](const QString& path) {
            return QStringList{"AAC", Library(path, Audio, "BitRate/String"), Library(path, Audio, "Channel(s)/String"),
                               Library(path, Audio, "SamplingRate/String")};
        };
        const QStringList noVideo{"", "", "x", "", ""};
        const QStringList noAudio{"", "", "", ""};
        const QString kilobytes = R"(\d+(\.\d+)? KB)";
        const QString bytes = R"(\d+(\.\d+)? B)";

        QTest::newRow("video and audio")
            << m_withAudio << QStringList{"mp4", kilobytes, "00:00:03", "0%"}
            << QStringList{"clip.mp4", "mp4", kilobytes, "00:00:03"} << videoOf(m_withAudio, "AVC", "320x240")
            << audioOf(m_withAudio);
        QTest::newRow("video only")
            << m_videoOnly << QStringList{"mp4", kilobytes, "00:00:03", "0%"}
            << QStringList{"silent.mp4", "mp4", kilobytes, "00:00:03"} << videoOf(m_videoOnly, "AVC", "320x240")
            << noAudio;
        QTest::newRow("audio only") << m_audioOnly << QStringList{"m4a", kilobytes, "00:00:03", "0%"}
                                    << QStringList{"tone.m4a", "m4a", kilobytes, "00:00:03"} << noVideo
                                    << audioOf(m_audioOnly);
        QTest::newRow("zero bytes") << m_zeroBytes << QStringList{"mp4", bytes, "02:50:00", "0%"}
                                    << QStringList{"empty.mp4", "mp4", bytes, "02:00:00"} << noVideo << noAudio;
        QTest::newRow("text named .avi") << m_textAsVideo << QStringList{"avi", bytes, "02:50:00", "0%"}
                                         << QStringList{"notes.avi", "avi", bytes, "02:00:00"} << noVideo << noAudio;
        QTest::newRow("blanks, quotes, non-ASCII")
            << m_oddName << QStringList{"mp4", kilobytes, "00:00:02", "0%"}
            << QStringList{OddName, "mp4", kilobytes, "00:00:02"} << videoOf(m_oddName, "AVC", "160x120")
            << audioOf(m_oddName);
        QTest::newRow("unreadable") << m_clips.filePath("gone.avi") << QStringList{"", "MB", "02:50:00", "0%"}
                                    << QStringList{".", "", "MB", "02:00:00"} << noVideo << noAudio;
    }
    void rowAndPanelDescribeTheFile()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, row);
        QFETCH(QStringList, general);
        QFETCH(QStringList, video);
        QFETCH(QStringList, audio);
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();

        AddFile(window, path);

        QCOMPARE(window->FileListView->topLevelItemCount(), 1);
        const QTreeWidgetItem* added = window->FileListView->topLevelItem(0);
        const QStringList texts = RowTexts(added);
        QCOMPARE(texts.constFirst(), path);
        for (int column = 1; column < texts.size(); ++column)
            QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(row[column - 1]))
                         .match(texts[column])
                         .hasMatch(),
                     qPrintable(texts.join(" | ")));
        QCOMPARE(added->icon(0).cacheKey(), window->ImageList->Icon(TImageList::Added).cacheKey());

        const QStringList panel = PanelValues(window);
        QCOMPARE(panel[0], QString());
        QCOMPARE(panel[1], general[0]);
        QCOMPARE(panel[2], general[1]);
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(general[2])).match(panel[3]).hasMatch(),
                 qPrintable(panel[3]));
        QCOMPARE(panel[3], texts[2]);
        QCOMPARE(panel[4], general[3]);
        QCOMPARE(panel[5], NoValue);
        QCOMPARE(panel.mid(6, 5), video);
        QCOMPARE(panel[11], NoValue);
        QCOMPARE(panel.mid(12, 4), audio);
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
    }

    void dialogAsksForOneVideoFile()
    {
        ProgramFixture fixture;
        AddFile(fixture.Start(), std::nullopt);
        QCOMPARE(fixture.Shown.size(), 1);
        QCOMPARE(fixture.Shown[0].kind, QString("open"));
        QCOMPARE(fixture.Shown[0].title, QString("Add video files"));
        // "All video files" first, with the types the old list hid; "All
        // files" last.
        const QStringList filter = fixture.Shown[0].text.split('|');
        QCOMPARE(filter.constFirst(), QString("All video files"));
        const QStringList patterns = filter[1].split(';');
        for (const char* pattern : {"*.mp4", "*.mkv", "*.webm", "*.mpg", "*.mpeg", "*.dv", "*.ogv", "*.ts", "*.avi"})
            QVERIFY2(patterns.contains(pattern), pattern);
        QCOMPARE(filter.mid(filter.size() - 2), (QStringList{"All files", "*"}));
    }

    void cancellingChangesNothing()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        AddFile(window, m_withAudio);
        const QStringList panel = PanelValues(window);
        AddFile(window, std::nullopt);
        QCOMPARE(window->FileListView->topLevelItemCount(), 1);
        QCOMPARE(PanelValues(window), panel);
    }

    void sameFileTwiceGivesTwoRowsAndKeepsTheSelection()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        AddFile(window, m_withAudio);
        ClickRow(window, 0);
        AddFile(window, m_withAudio);
        QCOMPARE(window->FileListView->topLevelItemCount(), 2);
        QCOMPARE(RowTexts(window->FileListView->topLevelItem(1)), RowTexts(window->FileListView->topLevelItem(0)));
        QCOMPARE(window->FileListView->selectedItems(), {window->FileListView->topLevelItem(0)});
    }

    void clickShowsTheSelectedFile()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        AddFile(window, m_withAudio);
        AddFile(window, m_oddName);
        QCOMPARE(PanelValues(window)[1], OddName);

        ClickBelowRows(window); // nothing selected: the panel stays
        QVERIFY(window->FileListView->selectedItems().isEmpty());
        QCOMPARE(PanelValues(window)[1], OddName);

        ClickRow(window, 0);
        QCOMPARE(PanelValues(window)[1], QString("clip.mp4"));
        QCOMPARE(PanelValues(window)[8], QString("320x240"));
    }

    void headingsNeverHoldAValueAndLineZeroIsLeftAlone()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        for (int line : {0, 5, 11})
            window->MsgListView->topLevelItem(line)->setText(1, "left by someone");

        TFFmpegFunc().ShowFileInfo(m_withAudio);
        QStringList panel = PanelValues(window);
        QCOMPARE(panel[0], QString("left by someone"));
        QCOMPARE(panel[5], NoValue);
        QCOMPARE(panel[11], NoValue);

        window->MsgListView->topLevelItem(5)->setText(1, "left by someone");
        TFFmpegFunc().ClearInfoPanel();
        panel = PanelValues(window);
        QCOMPARE(panel.mid(1), EmptiedPanel.mid(1));
        QCOMPARE(panel[0], QString("left by someone"));
    }

    void deletingTheLastRowEmptiesThePanel()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        AddFile(window, m_withAudio);
        AddFile(window, m_videoOnly);
        const QStringList showingVideoOnly = PanelValues(window);

        window->DelFileBtn->click(); // nothing selected
        QCOMPARE(window->FileListView->topLevelItemCount(), 2);
        QCOMPARE(PanelValues(window), showingVideoOnly);

        // Chosen with the keyboard, which shows nothing on the panel.
        window->FileListView->setCurrentItem(window->FileListView->topLevelItem(0));
        window->DelFileBtn->click(); // another row: the panel keeps its file
        QCOMPARE(window->FileListView->topLevelItemCount(), 1);
        QCOMPARE(window->FileListView->topLevelItem(0)->text(0), m_videoOnly);
        QCOMPARE(PanelValues(window), showingVideoOnly);
        QVERIFY(window->FileListView->selectedItems().isEmpty());

        window->DelFileBtn->click(); // the deletion selected no neighbour
        QCOMPARE(window->FileListView->topLevelItemCount(), 1);

        ClickRow(window, 0);
        window->DelFileBtn->click();
        QCOMPARE(window->FileListView->topLevelItemCount(), 0);
        QCOMPARE(PanelValues(window), EmptiedPanel);
        QCOMPARE(window->JvEditNumb->text(), QString("-1"));
    }

    void deleteOnAnEmptyListStillEmptiesThePanel()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        TFFmpegFunc().ShowFileInfo(m_withAudio);
        window->DelFileBtn->click();
        QCOMPARE(PanelValues(window), EmptiedPanel);
    }

    // Each of several chosen files gets the row it would get on its own; the
    // panel shows the last.
    void severalChosenFilesAreAddedInTheDialogsOrder()
    {
        const QStringList chosen{m_oddName, m_textAsVideo, m_withAudio, m_videoOnly};
        ProgramFixture alone;
        TFFmpegFrm* window = alone.Start();
        for (const QString& path : chosen)
            AddFile(window, path);
        const QList<QStringList> rowsAlone = AllRowTexts(window);
        const QStringList panelAlone = PanelValues(window);
        alone.Stop();

        ProgramFixture together;
        window = together.Start();
        DialogSeam::AnswerNextFiles(chosen);
        window->AddFileBtn->click();
        QCOMPARE(AllRowTexts(window), rowsAlone);
        QCOMPARE(PanelValues(window), panelAlone);
        for (int row = 0; row < chosen.size(); ++row)
            QCOMPARE(window->FileListView->topLevelItem(row)->icon(0).cacheKey(),
                     window->ImageList->Icon(TImageList::Added).cacheKey());
        QVERIFY(window->FileListView->selectedItems().isEmpty());
        QCOMPARE(window->JvEditCmdMsg->text(), QString());
        QVERIFY(ErrorTexts(together.Shown).isEmpty());
    }

    // A folder gives the video files directly inside it, by name and in any
    // letter case; a file is taken as it is; what is not local is skipped.
    void droppedFilesAndFoldersAreAdded()
    {
        QTemporaryDir dropped;
        for (const char* name : {"clip 10.mp4", "B.AVI", "clip 9.Rmvb", "a.3gp", "notes.txt", "film.mkv", "mp4",
                                 "archive.mp4.zip"})
            MakeFile(dropped.path(), name, "pretends to be video");
        QDir(dropped.path()).mkpath("inner.mp4");
        MakeFile(dropped.filePath("inner.mp4"), "deeper.mp4", "pretends to be video");
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();

        QVERIFY(Drop(window, {QUrl::fromLocalFile(dropped.path()), QUrl("https://example.org/video.mp4"),
                              QUrl::fromLocalFile(m_withAudio)}));
        QCOMPARE(Column(window, 0), (QStringList{dropped.filePath("a.3gp"), dropped.filePath("B.AVI"),
                                                 dropped.filePath("clip 10.mp4"), dropped.filePath("clip 9.Rmvb"),
                                                 dropped.filePath("film.mkv"), m_withAudio}));
        QCOMPARE(PanelValues(window)[1], QString("clip.mp4"));
        QCOMPARE(AllRowTexts(window).constLast().mid(1), (QStringList{"mp4", PanelValues(window)[3], "00:00:03", "0%"}));

        // Nothing local to add: the list refuses the drag.
        QVERIFY(!Drop(window, {QUrl("https://example.org/video.mp4")}));
        QCOMPARE(window->FileListView->topLevelItemCount(), 6);
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
    }

    void dropIsRefusedWhileABatchRuns()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        TFFmpegFunc().LockButtons(); // how a running batch shows
        QVERIFY(!Drop(window, {QUrl::fromLocalFile(m_withAudio)}));
        TFFmpegFunc().AddDroppedFiles({QUrl::fromLocalFile(m_withAudio)}); // a drop that got through anyway
        QCOMPARE(window->FileListView->topLevelItemCount(), 0);
    }

    void clearEmptiesListPanelCursorAndStatusLine()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        window->JvEditNumb->setText("4");
        window->JvEditCmdMsg->setText("frame=   75 fps=0.0 q=-1.0 Lsize=      40kB time=00:00:03.00");
        TFFmpegFunc().ShowFileInfo(m_withAudio);
        const QStringList panel = PanelValues(window);

        window->ClearFileBtn->click(); // empty list: nothing changes
        QCOMPARE(window->JvEditNumb->text(), QString("4"));
        QVERIFY(!window->JvEditCmdMsg->text().isEmpty());
        QCOMPARE(PanelValues(window), panel);

        AddFile(window, m_withAudio);
        AddFile(window, m_audioOnly);
        window->ClearFileBtn->click();
        QCOMPARE(window->FileListView->topLevelItemCount(), 0);
        QCOMPARE(PanelValues(window), EmptiedPanel);
        QCOMPARE(window->JvEditNumb->text(), QString("-1"));
        QCOMPARE(window->JvEditCmdMsg->text(), QString());
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
    }
};

QTEST_MAIN(TestFileList)
#include "tst_filelist.moc"
