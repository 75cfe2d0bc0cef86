// The window driven from the keyboard on a real X display, where focus and
// the active window are the X server's: what Space, Delete, Insert, Ctrl+O
// and Ctrl+Q do, and where focus goes while a batch runs. The converter is
// the scripted stand-in beside the test program.
#include "BatchWindowSetup.h"
#include "tst_batch_support.h"

#include <QApplication>
#include <QtTest>

class TestKeyboard : public QObject, BatchWindowSetup {
    Q_OBJECT

    QToolButton* button(const char* name) const { return window->findChild<QToolButton*>(name); }

    void addSource(const QString& name) { AddRow(window, MakeFile(files->path(), name, "not really a video")); }

    // The user's keys go to the widget that has the X server's focus.
    void type(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused);
        QTest::keyClick(focused, Qt::Key(key), modifiers);
    }

    void startWithKeyboard()
    {
        button("ConvFileBtn")->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(button("ConvFileBtn")->hasFocus());
        type(Qt::Key_Space);
        QTRY_COMPARE(ButtonsEnabled(window), Running);
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
        ScriptedConverter::Install();
    }

    void init()
    {
        StartWindow();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        DialogSeam::AnswerNext(files->path());
        button("JvBtnSltDir")->click();
    }

    void cleanup() { EndWindow(); }

    // Space starts the batch; the second Space must not land on Stop.
    void spaceTwiceKeepsTheBatchRunning()
    {
        addSource("a.avi");
        startWithKeyboard();
        QVERIFY(!button("StopConvBtn")->hasFocus());
        QCOMPARE(QApplication::focusWidget(), window->FileListView);

        type(Qt::Key_Space);
        QTest::qWait(300);
        QCOMPARE(ButtonsEnabled(window), Running);
        QVERIFY(!converter->Has("input.1") || converter->Read("input.1").isEmpty()); // no stop request sent

        // Stop is still one Tab away for the user who means it.
        button("StopConvBtn")->setFocus(Qt::TabFocusReason);
        type(Qt::Key_Space);
        QTRY_VERIFY(IsIdle(window));
        QCOMPARE(ButtonsEnabled(window), Idle);
    }

    void deleteInTheListRemovesTheSelectedRowUnlessABatchRuns_data()
    {
        QTest::addColumn<bool>("running");
        QTest::newRow("idle") << false;
        QTest::newRow("batch running") << true;
    }
    void deleteInTheListRemovesTheSelectedRowUnlessABatchRuns()
    {
        QFETCH(bool, running);
        addSource("a.avi");
        addSource("b.avi");
        if (running)
            startWithKeyboard();
        window->FileListView->setFocus();
        window->FileListView->setCurrentItem(window->FileListView->topLevelItem(1));
        QTRY_VERIFY(window->FileListView->hasFocus());

        type(Qt::Key_Delete);
        QTest::qWait(100);
        QCOMPARE(Column(window, 0).size(), running ? 2 : 1);
        QVERIFY(Column(window, 0).constFirst().endsWith("a.avi"));
    }

    void deleteOutsideTheListLeavesTheRows()
    {
        addSource("a.avi");
        window->FileListView->setCurrentItem(window->FileListView->topLevelItem(0));
        button("AddFileBtn")->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(button("AddFileBtn")->hasFocus());
        type(Qt::Key_Delete);
        QTest::qWait(100);
        QCOMPARE(Column(window, 0).size(), 1);
    }

    void insertOrCtrlOOpensAdd_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Insert") << int(Qt::Key_Insert) << Qt::KeyboardModifiers();
        QTest::newRow("Ctrl+O") << int(Qt::Key_O) << Qt::KeyboardModifiers(Qt::ControlModifier);
    }
    void insertOrCtrlOOpensAdd()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        const qsizetype shown = fixture->Shown.size();
        window->JvPageControl->setFocus();
        type(key, modifiers);
        QTRY_COMPARE(fixture->Shown.size(), shown + 1);
        QCOMPARE(fixture->Shown.last().kind, QString("open"));

        // Add is locked while a batch runs, and so are its keys.
        addSource("a.avi");
        startWithKeyboard();
        type(key, modifiers);
        QTest::qWait(100);
        QCOMPARE(fixture->Shown.size(), shown + 1);
    }

    void ctrlQQuits()
    {
        type(Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(ErrorTexts(fixture->Shown).isEmpty());
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
