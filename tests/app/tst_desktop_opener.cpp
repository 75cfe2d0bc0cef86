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

    void addButtons()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("address");
        QTest::newRow("Http") << "HttpBtn" << "https://www.example.org/movarin/";
        QTest::newRow("output folder") << "JvBtnOpenDir" << m_bin.filePath("out folder");
    }

    // Presses the row's button with only the given folder's programs on
    // PATH, so that no browser of this machine stands in for a missing
    // opener; what the status line says after.
    QString pressWith(const QString& programs)
    {
        QFETCH(QString, button);
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        DialogSeam::AnswerNext(m_bin.filePath("out folder"));
        window->findChild<QToolButton*>("JvBtnSltDir")->click();
        DialogSeam::Disable();
        qputenv("PATH", m_bin.filePath(programs).toUtf8());
        window->findChild<QToolButton*>(button)->click();
        return window->JvEditCmdMsg->text();
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
        QFETCH(QString, address);
        const QString shown = pressWith("empty");
        QVERIFY2(shown.startsWith("Could not open " + address + ":") && shown.contains("xdg-open"), qPrintable(shown));
    }

    void anOpenerIsHandedTheAddress_data() { addButtons(); }
    void anOpenerIsHandedTheAddress()
    {
        QFETCH(QString, address);
        QFile::remove(m_bin.filePath("opener/opened"));
        QVERIFY(!pressWith("opener").startsWith("Could not open"));
        const QUrl url = address.startsWith('/') ? QUrl::fromLocalFile(address) : QUrl(address);
        QFile opened(m_bin.filePath("opener/opened"));
        QTRY_VERIFY(opened.exists() && opened.size() > 0);
        QVERIFY(opened.open(QIODevice::ReadOnly));
        QCOMPARE(opened.readAll().trimmed(), url.toEncoded());
    }
};

QTEST_MAIN(TestDesktopOpener)
#include "tst_desktop_opener.moc"
