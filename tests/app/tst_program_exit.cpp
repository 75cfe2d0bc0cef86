// The program's own executable when it cannot start: runs under a private X
// server (xvfb-run), where the error box really shows and xdotool answers it.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(30000)) {
        tool.kill();
        tool.waitForFinished();
    }
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

} // namespace

class TestProgramExit : public QObject {
    Q_OBJECT
private slots:
    // The settings file cannot be opened (here a folder stands where it
    // belongs): the error goes to standard error and into a box; once the
    // box is answered the program ends with 1, never having shown a window.
    void failedStartupPrintsTheErrorAndEndsWith1()
    {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir("LibFFmpeg.Dat"));
        QProcess program;
        program.setWorkingDirectory(folder.path());
        program.start(qEnvironmentVariable("MOVARIN_PROGRAM"), {});
        QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
        const auto stop = qScopeGuard([&program] {
            if (program.state() != QProcess::NotRunning) {
                program.kill();
                program.waitForFinished();
            }
        });

        const QString box = Run("xdotool", {"search", "--sync", "--onlyvisible", "--name", "^Movarin$"});
        QVERIFY2(!box.isEmpty() && !box.contains('\n'), qPrintable("windows: " + box));
        QCOMPARE(program.state(), QProcess::Running); // waits for the answer
        Run("xdotool", {"windowfocus", "--sync", box});
        Run("xdotool", {"key", "Return"});

        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        const QStringList errorLines = QString::fromUtf8(program.readAllStandardError()).split('\n');
        QVERIFY2(errorLines.contains("unable to open database file"), qPrintable(errorLines.join('\n')));
        QCOMPARE(program.readAllStandardOutput(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestProgramExit)
#include "tst_program_exit.moc"
