#include "ProgramFixture.h"
#include "app/FFmpegGUI.h"
#include "engine/ErrorDisplay.h"
#include "engine/ProgramFolder.h"
#include "components/CursorEdit.h"
#include "components/JvComboBox.h"
#include "components/JvTrayIcon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

QStringList columnTexts(QTreeWidget* list, int column)
{
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        texts << list->topLevelItem(row)->text(column);
    return texts;
}

QStringList selectorTexts(QWidget* window)
{
    QStringList texts;
    for (const char* name : {"JvCmbVdo1", "JvCmbVdo2", "JvCmbVdo3", "JvCmbVdo4", "JvCmbVdo5", "JvCmbAdo1",
                              "JvCmbAdo2", "JvCmbAdo3", "JvCmbAdo4"})
        texts << window->findChild<QComboBox*>(name)->currentText();
    return texts;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startsEmptyWithTheSavedChoices()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        QCOMPARE(window->windowTitle(), QString("Movarin"));
        QCOMPARE(window->size(), QSize(852, 525));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(window->font().family(), QString("Tahoma"));
        QCOMPARE(window->font().pixelSize(), 11);

        QCOMPARE(window->FileListView->topLevelItemCount(), 0);
        QCOMPARE(window->FileListView->headerItem()->text(4), QString("Percent"));
        QCOMPARE(columnTexts(window->MsgListView, 0),
                 (QStringList{"Video File", "File Name", "File Type", "File Size", "Playing Time", "Video Parameters",
                              "Video Codec", "Video Bitrate", "Video Size", "Video Frame Rate", "Width Ratio",
                              "Audio Parameters", "Audio Codec", "Audio Bitrate", "Audio Channel",
                              "Sampling Frequency"}));
        QCOMPARE(columnTexts(window->MsgListView, 1), QStringList(16, QString()));
        QCOMPARE(window->JvEditNumb->text(), QString("-1"));
        QVERIFY(window->JvEditNumb->isHidden());
        for (const char* name : {"AddFileBtn", "DelFileBtn", "ClearFileBtn", "ConvFileBtn", "StopConvBtn", "PlayBtn",
                                 "HttpBtn", "QuitBtn", "JvBtnSltDir", "JvBtnOpenDir"})
            QVERIFY2(window->findChild<QToolButton*>(name)->isEnabled(), name);
        QVERIFY(!window->findChild<QToolButton*>("PauseConvBtn")->isEnabled()); // no batch to pause
        QVERIFY(!window->JvCheckBox->isChecked());
        QCOMPARE(window->JvPageControl->currentIndex(), 0);
        QCOMPARE(window->JvTrayIcon->IconIndex(), 15);
        QCOMPARE(window->JvTrayIcon->Hint(), QString("Movarin"));
        QVERIFY(!window->JvTimer->isActive());
        QCOMPARE(window->JvEditCmdMsg->text(), QString());

        QCOMPARE(selectorTexts(window),
                 (QStringList{"H.264", "Standard quality", "Up to 1080p", "Same as source", "Same as source", "AAC",
                              "128 kb/s", "Same as source", "Same as source"}));
        QCOMPARE(window->JvEditDir->text(), DefaultOutputDir(ProgramFolder()));
        QVERIFY(fixture.Shown.isEmpty());
    }

    void startupRunsExactlyTheLoadingStatements()
    {
        ProgramFixture fixture;
        fixture.Start();
        QList<QByteArray> expected;
        const QList<QPair<const char*, int>> tables = {
            {"cmbex_vdocodec", 1},   {"cmbex_vdobitrate", 2}, {"cmbex_vdosize", 3},
            {"cmbex_vdofps", 4},     {"cmbex_vdoaspect", 5},  {"cmbex_adocodec", 6},
            {"cmbex_adobitrate", 7}, {"cmbex_adochannels", 8}, {"cmbex_adofreq", 9}};
        const auto loadList = [&expected](const char* table, int tag) {
            expected << "select cmbex_index,cmbex_name,cmbex_cmd from " + QByteArray(table) + " order by cmbex_index";
            expected << "select cmbex_index from cmbex_itemindex where cmbex_tag = " + QByteArray::number(tag);
        };
        for (const auto& [table, tag] : tables)
            loadList(table, tag);
        expected << "select dir_name from savedir_videofile where dir_numb = '001'";
        // Then the codec entries for the converter probe, and the codec
        // selectors offer what it knows.
        expected << "select cmbex_index,cmbex_name,cmbex_cmd from cmbex_vdocodec order by cmbex_index"
                 << "select cmbex_index,cmbex_name,cmbex_cmd from cmbex_adocodec order by cmbex_index";
        loadList("cmbex_vdocodec", 1);
        loadList("cmbex_adocodec", 6);
        QCOMPARE(fixture.Statements, expected);
    }

    void controlsSitWhereTheyBelong_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        auto row = [](const char* name, QRect geometry, const char* caption = "", const char* hint = "") {
            QTest::newRow(name) << QString(name) << geometry << QString(caption) << QString(hint);
        };
        row("JvCoolBar", {0, 0, 852, 40});
        row("JvToolBar", {9, 0, 835, 36});
        row("AddFileBtn", {0, 0, 46, 36}, "Add", "Add video file (Ins, Ctrl+O)");
        row("DelFileBtn", {46, 0, 46, 36}, "Delete", "Delete video file (Del)");
        row("ClearFileBtn", {92, 0, 46, 36}, "Clear", "Clear all video files");
        row("ToolButton4", {138, 0, 8, 36});
        row("ConvFileBtn", {146, 0, 46, 36}, "Convert", "Convert video files");
        row("StopConvBtn", {192, 0, 46, 36}, "Stop", "Stop video file conversion");
        row("PauseConvBtn", {238, 0, 46, 36}, "Pause", "Pause video file conversion");
        row("ToolButton3", {284, 0, 8, 36});
        row("PlayBtn", {292, 0, 46, 36}, "Play", "Play video file");
        row("ToolButton6", {338, 0, 8, 36});
        row("HttpBtn", {346, 0, 46, 36}, "Http", "Software homepage");
        row("ToolButton7", {392, 0, 8, 36});
        row("QuitBtn", {400, 0, 46, 36}, "Quit", "Quit (Ctrl+Q)");
        row("FileListView", {5, 45, 593, 294});
        row("Image1", {602, 45, 245, 172});
        row("MsgListView", {602, 222, 245, 278});
        row("JvGroupBox", {5, 345, 593, 54});
        row("JvEditDir", {9, 20, 504, 21});
        row("JvEditNumb", {484, 12, 33, 21});
        row("JvBtnSltDir", {523, 18, 25, 25}, "", "Choose output directory");
        row("JvBtnOpenDir", {558, 18, 25, 25}, "", "Open output directory");
        row("JvPageControl", {5, 408, 593, 93});
        row("JvEditCmdMsg", {0, 504, 852, 21});
        row("JvCheckBox", {5, 22, 302, 17}, "Shut down the computer after the conversion is completed");
        row("JvCmbVdo1", {72, 6, 115, 21});
        row("JvCmbVdo2", {265, 6, 115, 21});
        row("JvCmbVdo3", {445, 6, 115, 21});
        row("JvCmbVdo4", {97, 35, 115, 21});
        row("JvCmbVdo5", {284, 35, 115, 21});
        row("JvCmbAdo1", {72, 6, 115, 21});
        row("JvCmbAdo2", {265, 6, 115, 21});
        row("JvCmbAdo3", {466, 6, 115, 21});
        row("JvCmbAdo4", {107, 35, 115, 21});
    }
    void controlsSitWhereTheyBelong()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        auto* widget = window->findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->toolTip(), hint);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            QCOMPARE(button->text(), caption);
            if (!qobject_cast<QCheckBox*>(widget))
                QVERIFY(!button->icon().pixmap(16, 16).isNull());
        }
    }

    void labelsAndPagesCarryTheirCaptions()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        QCOMPARE(window->JvPageControl->tabText(0), QString("Video Output Parameters"));
        QCOMPARE(window->JvPageControl->tabText(1), QString("Audio Output Parameters"));
        QCOMPARE(window->JvPageControl->tabText(2), QString("Other Settings"));
        const QStringList labels = {"Video Codec", "Video Bitrate", "Video Size", "Video Frame Rate", "Width Ratio",
                                    "Audio Codec", "Audio Bitrate", "Audio Channel", "Sampling Frequency"};
        for (int i = 0; i < labels.size(); ++i)
            QCOMPARE(window->findChild<QLabel*>(QString("JvLabel%1").arg(i + 1))->text(), labels[i]);
        const QList<QAction*> items = window->JvPopupMenu->actions();
        QCOMPARE(items.size(), 6);
        QCOMPARE(items[0]->text(), QString("Open Movarin"));
        QVERIFY(items[1]->isSeparator());
        QCOMPARE(items[2]->text(), QString("Pause"));
        QVERIFY(!items[2]->isEnabled()); // no batch runs
        QCOMPARE(items[3]->text(), QString("Stop after the current file"));
        QVERIFY(items[3]->isCheckable() && !items[3]->isChecked());
        QVERIFY(items[4]->isSeparator());
        QCOMPARE(items[5]->text(), QString("Quit"));
        QStringList listMenu;
        for (const QAction* item : window->FileListView->actions())
            listMenu << (item->isSeparator() ? QString("-") : item->text());
        QCOMPARE(listMenu, (QStringList{"Convert again", "Remove", "-", "Stop after the current file"}));
        QCOMPARE(window->FileListView->contextMenuPolicy(), Qt::ActionsContextMenu);
    }

    void tabOrderFollowsTheWindowsReadingOrder()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        QStringList order;
        QWidget* widget = window->findChild<QWidget*>("AddFileBtn");
        QSet<QWidget*> visited;
        while (!visited.contains(widget)) {
            visited.insert(widget);
            order << widget->objectName();
            widget = widget->nextInFocusChain();
        }
        auto before = [&](const char* first, const char* second) {
            return order.indexOf(first) >= 0 && order.indexOf(first) < order.indexOf(second);
        };
        QVERIFY2(before("AddFileBtn", "QuitBtn"), qPrintable(order.join(' ')));
        QVERIFY(before("QuitBtn", "FileListView"));
        QVERIFY(before("FileListView", "JvEditDir"));
        QVERIFY(before("JvEditDir", "JvPageControl"));
        QVERIFY(before("JvPageControl", "MsgListView"));
        QVERIFY(before("MsgListView", "JvEditCmdMsg"));
    }

    void errorTextGetsItsPeriod_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "no such table: x" << "no such table: x.";
        QTest::newRow("digit") << "Code: 2" << "Code: 2.";
        QTest::newRow("period") << "done." << "done.";
        QTest::newRow("exclamation") << "stop!" << "stop!";
        QTest::newRow("parenthesis") << "(x)" << "(x)";
        QTest::newRow("empty") << "" << "";
    }
    void errorTextGetsItsPeriod()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(ErrorDisplayText(message), shown);
    }

    void missingDatabaseFileIsCreatedAndReported()
    {
        ProgramFixture fixture;
        QFile::remove("LibFFmpeg.Dat");
        TFFmpegFrm* window = fixture.Start();
        QVERIFY(window->isVisible());
        QVERIFY(QFileInfo::exists(fixture.Folder() + "/LibFFmpeg.Dat"));
        QCOMPARE(ErrorTexts(fixture.Shown), QStringList{"no such table: cmbex_vdocodec."});
        QCOMPARE(fixture.Shown.constFirst().title, QString("Movarin"));
        QCOMPARE(window->findChild<QComboBox*>("JvCmbVdo1")->count(), 0);
        QCOMPARE(window->JvEditDir->text(), QString()); // the folder is not loaded after a failed load
    }

    void failedLoadStopsAtTheFailingSelector()
    {
        ProgramFixture fixture;
        fixture.PrepareDatabase({"drop table cmbex_vdofps"});
        TFFmpegFrm* window = fixture.Start();
        QCOMPARE(ErrorTexts(fixture.Shown), QStringList{"no such table: cmbex_vdofps."});
        QCOMPARE(selectorTexts(window),
                 (QStringList{"H.264", "Standard quality", "Up to 1080p", "JvCmbVdo4", "JvCmbVdo5", "JvCmbAdo1",
                              "JvCmbAdo2", "JvCmbAdo3", "JvCmbAdo4"}));
        QCOMPARE(window->findChild<QComboBox*>("JvCmbVdo5")->count(), 0);
        QCOMPARE(window->JvEditDir->text(), QString());
    }

    void missingSavedChoicesLeaveTheFirstSelectorFilledButUnselected()
    {
        ProgramFixture fixture;
        fixture.PrepareDatabase({"drop table cmbex_itemindex"});
        TFFmpegFrm* window = fixture.Start();
        QCOMPARE(ErrorTexts(fixture.Shown), QStringList{"no such table: cmbex_itemindex."});
        auto* first = window->findChild<QComboBox*>("JvCmbVdo1");
        QCOMPARE(first->count(), 5);
        QCOMPARE(first->currentIndex(), -1);
        QCOMPARE(first->currentText(), QString("JvCmbVdo1"));
    }

    void quitCommandsCloseTheWindow_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("tool bar") << "QuitBtn";
        QTest::newRow("tray menu") << "Quit1";
        QTest::newRow("close box") << "";
    }
    void quitCommandsCloseTheWindow()
    {
        QFETCH(QString, command);
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        if (command == "QuitBtn")
            window->findChild<QToolButton*>("QuitBtn")->click();
        else if (command == "Quit1")
            window->JvPopupMenu->findChild<QAction*>("Quit1")->trigger();
        else
            window->close();
        QVERIFY(!window->isVisible());
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
    }

    void httpOpensTheProductPage()
    {
        ProgramFixture fixture;
        fixture.Start()->findChild<QToolButton*>("HttpBtn")->click();
        QCOMPARE(fixture.Shown.size(), 1);
        QCOMPARE(fixture.Shown[0].kind, QString("shell"));
        QVERIFY(fixture.Shown[0].text.startsWith("https://"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
