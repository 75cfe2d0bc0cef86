// Http and the output-folder button hand their address to the desktop's
// opener, found on PATH as on a user's machine: a stand-in xdg-open that
// records what it was given, or none at all.
#include "ProgramFixture.h"
#include "app/FFmpegGUI.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

class TestDesktopOpener : public QObject {
    Q_OBJECT

    QByteArray m_path = qgetenv("PATH");
    QTemporaryDir m_bin;

    // Only the given folder is searched for programs, so no browser of this
    // machine can stand in for the missing opener.
    TFFmpegFrm* startWithPrograms(ProgramFixture& fixture, const QString& folder)
    {
        TFFmpegFrm* window = fixture.Start();
        DialogSeam::AnswerNext(m_bin.filePath("out folder"));
        window->findChild<QToolButton*>("JvBtnSltDir")->click();
        DialogSeam::Disable();
        qputenv("PATH", folder.toUtf8());
        return window;
    }

    static void addButtons()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("address");
        QTest::newRow("Http") << "HttpBtn" << "https://www.example.org/movarin/";
        QTest::newRow("output folder") << "JvBtnOpenDir" << "out folder";
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
        qunsetenv("BROWSER");
        qunsetenv("DEFAULT_BROWSER");
        QDir().mkpath(m_bin.filePath("out folder"));
        QDir().mkpath(m_bin.filePath("empty"));
        QDir().mkpath(m_bin.filePath("opener"));
        QFile opener(m_bin.filePath("opener/xdg-open"));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        // Only shell built-ins: PATH holds nothing else.
        opener.write("#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"${0%/*}/opened\"\n");
        opener.close();
        QVERIFY(opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner));
    }
    void cleanup() { qputenv("PATH", m_path); }

    // Runs before any opener was found: the desktop keeps the first one it
    // finds for the program's whole life.
    void withoutAnOpenerTheStatusLineNamesWhatWasNotOpened_data() { addButtons(); }
    void withoutAnOpenerTheStatusLineNamesWhatWasNotOpened()
    {
        QFETCH(QString, button);
        QFETCH(QString, address);
        ProgramFixture fixture;
        TFFmpegFrm* window = startWithPrograms(fixture, m_bin.filePath("empty"));
        window->findChild<QToolButton*>(button)->click();
        const QString shown = window->JvEditCmdMsg->text();
        const QString named = address.startsWith("https:") ? address : m_bin.filePath(address);
        QVERIFY2(shown.startsWith("Could not open " + named + ":") && shown.contains("xdg-open"), qPrintable(shown));
    }

    void anOpenerIsHandedTheAddress_data() { addButtons(); }
    void anOpenerIsHandedTheAddress()
    {
        QFETCH(QString, button);
        QFETCH(QString, address);
        ProgramFixture fixture;
        TFFmpegFrm* window = startWithPrograms(fixture, m_bin.filePath("opener"));
        QFile::remove(m_bin.filePath("opener/opened"));
        window->findChild<QToolButton*>(button)->click();
        const QByteArray expected = address.startsWith("https:") ? address.toUtf8()
                                                                 : QUrl::fromLocalFile(m_bin.filePath(address)).toEncoded();
        QFile opened(m_bin.filePath("opener/opened"));
        QTRY_VERIFY(opened.exists() && opened.size() > 0);
        QVERIFY(opened.open(QIODevice::ReadOnly));
        QCOMPARE(opened.readAll().trimmed(), expected);
        QVERIFY(!window->JvEditCmdMsg->text().startsWith("Could not open"));
    }
};

QTEST_MAIN(TestDesktopOpener)
#include "tst_desktop_opener.moc"
