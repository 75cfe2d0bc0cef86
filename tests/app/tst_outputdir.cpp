#include "ProgramFixture.h"
#include "app/FFmpegGUI.h"
#include "engine/ProgramFolder.h"

#include <QDir>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

namespace {

const QByteArray SavedFolder = "select dir_name from savedir_videofile where dir_numb = '001'";

void chooseFolder(TFFmpegFrm* window, std::optional<QString> answer)
{
    DialogSeam::AnswerNext(std::move(answer));
    window->findChild<QToolButton*>("JvBtnSltDir")->click();
}

} // namespace

class TestOutputDir : public QObject {
    Q_OBJECT
private slots:
    void emptySavedFolderShowsTheDefaultWithoutCreatingIt()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        QCOMPARE(window->JvEditDir->text(), ProgramFolder() + "/FFOutput");
        QVERIFY(window->JvEditDir->isReadOnly());
        QCOMPARE(fixture.Read(SavedFolder), QByteArray());
        QVERIFY(!QFileInfo::exists(fixture.Folder() + "/FFOutput"));
    }

    void chosenFolderIsShownSavedAndRestored_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << "/srv/videos/out";
        QTest::newRow("single quotes") << "/home/o'neil/it's done";
        QTest::newRow("root keeps its separator") << "/";
        QTest::newRow("non-ASCII") << "/média/Видео";
    }
    void chosenFolderIsShownSavedAndRestored()
    {
        QFETCH(QString, folder);
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        chooseFolder(window, folder);
        QCOMPARE(window->JvEditDir->text(), folder);
        QCOMPARE(QString::fromUtf8(fixture.Read(SavedFolder)), folder);
        const DialogSeam::Shown& dialog = fixture.Shown.constFirst();
        QCOMPARE(dialog.kind, QString("folder"));
        QCOMPARE(dialog.title, QString("Please select the folder"));
        QCOMPARE(dialog.startFolder, QDir::homePath());
        window->hide(); // into the tray and back: nothing is reloaded
        window->show();
        QCOMPARE(window->JvEditDir->text(), folder);
        fixture.Start();
        QCOMPARE(fixture.Window()->JvEditDir->text(), folder);
    }

    void browserAlwaysStartsAtHome()
    {
        ProgramFixture fixture;
        fixture.PrepareDatabase({"update savedir_videofile set dir_name = '/srv/out' where dir_numb = '001'"});
        TFFmpegFrm* window = fixture.Start();
        QCOMPARE(window->JvEditDir->text(), QString("/srv/out"));
        chooseFolder(window, std::nullopt);
        QCOMPARE(fixture.Shown.constFirst().startFolder, QDir::homePath());
    }

    void cancellingChangesNothing()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        chooseFolder(window, "/first");
        const int statements = fixture.Statements.size();
        chooseFolder(window, std::nullopt);
        QCOMPARE(window->JvEditDir->text(), QString("/first"));
        QCOMPARE(fixture.Statements.size(), statements);
        QCOMPARE(fixture.Read(SavedFolder), QByteArray("/first"));
    }

    void updateStatementQuotesTheFolder()
    {
        ProgramFixture fixture;
        chooseFolder(fixture.Start(), "/a'b");
        QCOMPARE(fixture.Statements.last(),
                 QByteArray("update savedir_videofile set dir_name = '/a''b' where dir_numb = '001'"));
    }

    void missingFolderRowShowsTheDefaultAndForgetsChoices()
    {
        ProgramFixture fixture;
        fixture.PrepareDatabase({"delete from savedir_videofile"});
        TFFmpegFrm* window = fixture.Start();
        QCOMPARE(window->JvEditDir->text(), DefaultOutputDir(ProgramFolder()));
        chooseFolder(window, "/elsewhere");
        QCOMPARE(window->JvEditDir->text(), QString("/elsewhere"));
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
        fixture.Start();
        QCOMPARE(fixture.Window()->JvEditDir->text(), DefaultOutputDir(ProgramFolder()));
    }

    void failedSaveKeepsTheNewFolderOnScreenOnly()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        {
            ForeignLock lock(fixture.Folder());
            chooseFolder(window, "/locked/out");
        }
        QCOMPARE(ErrorTexts(fixture.Shown), QStringList{"database is locked."});
        QCOMPARE(window->JvEditDir->text(), QString("/locked/out"));
        QCOMPARE(fixture.Read(SavedFolder), QByteArray());
    }

    void openingHandsTheFolderToTheDesktop()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        chooseFolder(window, "/does/not/exist");
        window->findChild<QToolButton*>("JvBtnOpenDir")->click();
        QCOMPARE(fixture.Shown.last().kind, QString("shell"));
        QCOMPARE(fixture.Shown.last().text, QString("file:///does/not/exist"));
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
    }
};

QTEST_MAIN(TestOutputDir)
#include "tst_outputdir.moc"
