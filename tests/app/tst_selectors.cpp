#include "ProgramFixture.h"
#include "app/FFmpegGUI.h"
#include "engine/FFmpegFunc.h"
#include "components/JvComboBox.h"
#include "settings/OptionKinds.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QtTest>

namespace {

TJvComboBox* selector(TFFmpegFrm* window, const char* name) { return window->findChild<TJvComboBox*>(name); }

QByteArray savedIndex(const ProgramFixture& fixture, int tag)
{
    return fixture.Read("select cmbex_index from cmbex_itemindex where cmbex_tag = " + QByteArray::number(tag));
}

QList<QByteArray> updates(const QList<QByteArray>& statements)
{
    QList<QByteArray> found;
    for (const QByteArray& statement : statements)
        if (statement.startsWith("update"))
            found << statement;
    return found;
}

// Types as a user does: the field's text is replaced keystroke by keystroke.
void typeInto(TJvComboBox* box, const QString& keys)
{
    box->lineEdit()->selectAll();
    QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(box->lineEdit(), keys);
}

} // namespace

class TestSelectors : public QObject {
    Q_OBJECT
private slots:
    void loadingFollowsTheStoredRows_data()
    {
        QTest::addColumn<QList<QByteArray>>("preparation");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty table") << QList<QByteArray>{"delete from cmbex_vdosize"} << "JvCmbVdo3" << 0 << -1
                                     << "";
        QTest::newRow("saved position past the end")
            << QList<QByteArray>{"update cmbex_itemindex set cmbex_index = 40 where cmbex_tag = 2"} << "JvCmbVdo2" << 16
            << -1 << "";
        QTest::newRow("saved -1 keeps the component name")
            << QList<QByteArray>{"update cmbex_itemindex set cmbex_index = -1 where cmbex_tag = 4"} << "JvCmbVdo4" << 10
            << -1 << "JvCmbVdo4";
        QTest::newRow("no saved row starts on the first entry")
            << QList<QByteArray>{"delete from cmbex_itemindex where cmbex_tag = 7"} << "JvCmbAdo2" << 8 << 0
            << "64 kb/s";
        QList<QByteArray> many{"delete from cmbex_adofreq",
                               "update cmbex_itemindex set cmbex_index = 33 where cmbex_tag = 9"};
        for (int position : {5, 0, 41, 17, 33, 2}) // stored out of order on purpose
            many << "insert into cmbex_adofreq values (" + QByteArray::number(position) + ", 'rate "
                    + QByteArray::number(position) + "', '-ar " + QByteArray::number(position) + "')";
        for (int position = 0; position < 42; ++position)
            if (!QList<int>{5, 0, 41, 17, 33, 2}.contains(position))
                many << "insert into cmbex_adofreq values (" + QByteArray::number(position) + ", 'rate "
                        + QByteArray::number(position) + "', '-ar " + QByteArray::number(position) + "')";
        QTest::newRow("several dozen rows") << many << "JvCmbAdo4" << 42 << 33 << "rate 33";
    }
    void loadingFollowsTheStoredRows()
    {
        QFETCH(QList<QByteArray>, preparation);
        QFETCH(QString, name);
        QFETCH(int, count);
        QFETCH(int, selected);
        QFETCH(QString, text);
        ProgramFixture fixture;
        fixture.PrepareDatabase(preparation);
        TFFmpegFrm* window = fixture.Start();
        auto* box = window->findChild<TJvComboBox*>(name);
        QCOMPARE(box->count(), count);
        QCOMPARE(box->currentIndex(), selected);
        QCOMPARE(box->currentText(), text);
        for (int position = 0; position < count && name == "JvCmbAdo4" && count > 40; ++position)
            QCOMPARE(box->itemText(position), QString("rate %1").arg(position));
        QVERIFY(updates(fixture.Statements).isEmpty()); // loading never saves
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
    }

    void fragmentBelongsToTheSelectedPosition()
    {
        ProgramFixture fixture;
        fixture.PrepareDatabase({"update cmbex_itemindex set cmbex_index = -1 where cmbex_tag = 5",
                                 "update cmbex_itemindex set cmbex_index = 8 where cmbex_tag = 3",
                                 "update cmbex_itemindex set cmbex_index = 2 where cmbex_tag = 8"});
        fixture.Start();
        TFFmpegFunc controller;
        QCOMPARE(controller.GetVdoCodecCmd(), QByteArray("-c:v libx264 -pix_fmt yuv420p"));
        QCOMPARE(controller.GetVdoSizeCmd(), QByteArray("fit:3840x2160"));
        QCOMPARE(controller.GetVdoAspectCmd(), QByteArray());
        QCOMPARE(controller.GetAdoChannelsCmd(), QByteArray("-ac 2"));
        QCOMPARE(fixture.Statements.last(), QByteArray("select cmbex_cmd from cmbex_adochannels where cmbex_index = 2"));
    }

    void userChoicesAreSavedAtOnce_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("text");
        QTest::newRow("other letter case completes") << "mpeg" << 3 << "MPEG-4 Part 2";
        QTest::newRow("first match wins") << "H" << 0 << "H.264";
        QTest::newRow("longer prefix") << "h.265" << 1 << "H.265 (HEVC)";
        QTest::newRow("no entry begins so") << "zz" << -1 << "zz";
    }
    void userChoicesAreSavedAtOnce()
    {
        QFETCH(QString, keys);
        QFETCH(int, selected);
        QFETCH(QString, text);
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        TJvComboBox* box = selector(window, "JvCmbVdo1");
        typeInto(box, keys);
        QCOMPARE(box->currentIndex(), selected);
        QCOMPARE(box->currentText(), text);
        QCOMPARE(savedIndex(fixture, 1), QByteArray::number(selected));
        QCOMPARE(updates(fixture.Statements).last(),
                 "update cmbex_itemindex set cmbex_index = " + QByteArray::number(selected) + " where cmbex_tag = 1");
        if (selected < 0)
            QCOMPARE(TFFmpegFunc().GetVdoCodecCmd(), QByteArray());
    }

    void completionMarksTheCompletedPart()
    {
        ProgramFixture fixture;
        TJvComboBox* box = selector(fixture.Start(), "JvCmbAdo1");
        typeInto(box, "o");
        QCOMPARE(box->currentText(), QString("Opus"));
        QCOMPARE(box->lineEdit()->selectedText(), QString("pus"));
        QTest::keyClick(box->lineEdit(), Qt::Key_Backspace); // removes the marked part
        QCOMPARE(box->currentText(), QString("O"));
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(savedIndex(fixture, 6), QByteArray("-1"));
    }

    void keyboardAndMouseChoicesAreSaved()
    {
        ProgramFixture fixture;
        TJvComboBox* box = selector(fixture.Start(), "JvCmbAdo2");
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentIndex(), 3);
        QCOMPARE(savedIndex(fixture, 7), QByteArray("3"));
        box->showPopup();
        QAbstractItemView* list = box->view();
        const QRect entry = list->visualRect(list->model()->index(6, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center());
        QCOMPARE(box->currentIndex(), 6);
        QCOMPARE(savedIndex(fixture, 7), QByteArray("6"));
    }

    // Long entries differ at their start ("Stereo (2 channels)"): every
    // selection that loading makes or the user picks from the list shows
    // the start of its text, not its end.
    void selectionsShowTheStartOfTheirText()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        for (const OptionKind& kind : OptionKinds) {
            TJvComboBox* box = selector(window, kind.selectorName);
            QVERIFY2(box->lineEdit()->cursorPosition() == 0, kind.selectorName);
        }
        TJvComboBox* box = selector(window, "JvCmbAdo4");
        QTest::keyClick(box, Qt::Key_Down);
        QVERIFY(box->currentText().size() > 1);
        QCOMPARE(box->lineEdit()->cursorPosition(), 0);
        box->showPopup();
        QAbstractItemView* list = box->view();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
        QCOMPARE(box->currentIndex(), 0);
        QCOMPARE(box->lineEdit()->cursorPosition(), 0);
    }

    void listsOpenWideEnoughForTheirLongestEntry()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        for (const OptionKind& kind : OptionKinds) {
            TJvComboBox* box = selector(window, kind.selectorName);
            box->showPopup();
            QAbstractItemView* list = box->view();
            QVERIFY2(list->viewport()->width() >= list->sizeHintForColumn(0), kind.selectorName);
            box->hidePopup();
        }
    }

    void choiceSurvivesTheProgram()
    {
        ProgramFixture fixture;
        TJvComboBox* box = selector(fixture.Start(), "JvCmbVdo2");
        typeInto(box, "8");
        QCOMPARE(box->currentText(), QString("8000 kb/s"));
        // Already in the file while the program still runs: a kill loses nothing.
        QCOMPARE(savedIndex(fixture, 2), QByteArray("15"));
        fixture.Start();
        QCOMPARE(selector(fixture.Window(), "JvCmbVdo2")->currentText(), QString("8000 kb/s"));
    }

    void choiceWithoutSavedRowIsNotRemembered()
    {
        ProgramFixture fixture;
        fixture.PrepareDatabase({"delete from cmbex_itemindex where cmbex_tag = 1"});
        typeInto(selector(fixture.Start(), "JvCmbVdo1"), "mp");
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
        fixture.Start();
        QCOMPARE(selector(fixture.Window(), "JvCmbVdo1")->currentIndex(), 0);
    }

    void failedSaveKeepsTheScreenAndTheNextSaveWorks()
    {
        ProgramFixture fixture;
        TJvComboBox* box = selector(fixture.Start(), "JvCmbVdo1");
        {
            ForeignLock lock(fixture.Folder());
            typeInto(box, "a"); // two changes: the emptied field, then the completion
            QCOMPARE(ErrorTexts(fixture.Shown), QStringList(2, "database is locked."));
            QCOMPARE(box->currentText(), QString("AV1"));
        }
        QCOMPARE(savedIndex(fixture, 1), QByteArray("0"));
        typeInto(box, "c");
        QCOMPARE(savedIndex(fixture, 1), QByteArray("10"));
        QCOMPARE(ErrorTexts(fixture.Shown).size(), 2);
    }
};

QTEST_MAIN(TestSelectors)
#include "tst_selectors.moc"
