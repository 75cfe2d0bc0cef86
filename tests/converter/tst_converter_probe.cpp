// The probe against a scripted ffmpeg: what it learns, that it remembers it
// per build, and how it copes with trials that fail or hang and with an
// ffmpeg that does not answer.
#include "StandInConverter.h"

#include "converter/AbilitiesCache.h"
#include "converter/CodecFragment.h"
#include "converter/ConverterProbe.h"
#include "converter/SourceExtensions.h"

#include <QtTest>

using namespace std::chrono_literals;

namespace {

const QString Vaapi = "-vaapi_device /dev/dri/renderD128 -vf format=nv12,hwupload -c:v h264_vaapi";
const QString Nvenc = "-c:v h264_nvenc -b:v 2M";
const QString Qsv = "-c:v h264_qsv";
const QStringList Catalogue = {"-c:v libx264 -pix_fmt yuv420p", "-c:v libx265 -pix_fmt yuv420p", Vaapi, Nvenc,
                               Qsv, "-c:v copy", "-c:a aac", "-c:a libopus"};
// Without the entry whose trial hangs until its time is up.
const QStringList QuickCatalogue = {"-c:v libx264 -pix_fmt yuv420p", Vaapi, Qsv, "-c:a aac"};

// Long enough for the shell to answer on a busy machine, short enough that
// the hanging trial does not hold the suite up.
constexpr auto PerRun = 2000ms;

void Probe(TConverterProbe& probe, const QString& program, const QStringList& catalogue = QuickCatalogue)
{
    probe.SetLimits(PerRun, 2);
    probe.Start(program, catalogue);
}

// Waits for the probe's last word.
bool Finished(TConverterProbe& probe)
{
    return QTest::qWaitFor([&] { return !probe.IsProbing(); }, 30000);
}

QStringList Matching(const QStringList& calls, const QString& part)
{
    return calls.filter(part);
}

} // namespace

class TestConverterProbe : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void learnsWhatTheConverterCanDo();
    void secondStartRunsNothing();
    void changedProgramIsProbedAgain();
    void damagedCacheIsProbedAgainAndRewritten();
    void newHardwareEntryIsTheOnlyRun();
    void converterThatDoesNotAnswer_data();
    void converterThatDoesNotAnswer();
    void probeDestroyedMidway();

private:
    QTemporaryDir dir_;
    int folders_ = 0;
    std::unique_ptr<TStandInConverter> converter_;
};

void TestConverterProbe::initTestCase()
{
    QVERIFY(dir_.isValid());
    qputenv("XDG_CACHE_HOME", dir_.filePath("cache").toUtf8());
}

void TestConverterProbe::init()
{
    QFile::remove(DefaultAbilitiesFile());
    converter_ = std::make_unique<TStandInConverter>(dir_.filePath(QString::number(++folders_)));
}

void TestConverterProbe::learnsWhatTheConverterCanDo()
{
    TConverterProbe probe;
    QSignalSpy changes(&probe, &TConverterProbe::AbilitiesChanged);
    QSignalSpy failures(&probe, &TConverterProbe::ProbeFailed);
    Probe(probe, converter_->Program(), Catalogue);

    // Nothing known yet: the catalogue's software entries, no hardware, the
    // built-in extensions.
    QVERIFY(probe.IsProbing());
    QVERIFY(probe.Abilities().Offers("-c:v libx265 -pix_fmt yuv420p"));
    QVERIFY(!probe.Abilities().Offers(Qsv));
    QCOMPARE(probe.Abilities().SourceExtensions(), WellKnownVideoExtensions());

    QVERIFY(Finished(probe));
    QCOMPARE(failures.count(), 0);
    // Encoders and trials first, the extensions after them.
    QCOMPARE(changes.count(), 2);
    const auto first = changes.first().first().value<TConverterAbilities>();
    QVERIFY(first.encoders && !first.sourceExtensions);

    const TConverterAbilities& abilities = probe.Abilities();
    QCOMPARE(abilities.encoders->video, (QStringList{"libx264", "h264_nvenc", "h264_qsv", "h264_vaapi"}));
    QCOMPARE(abilities.encoders->audio, QStringList{"aac"});
    QStringList offered;
    for (const QString& fragment : Catalogue)
        if (abilities.Offers(fragment))
            offered.append(fragment);
    QCOMPARE(offered, (QStringList{"-c:v libx264 -pix_fmt yuv420p", Qsv, "-c:v copy", "-c:a aac"}));
    QCOMPARE(abilities.trials.size(), 3);

    // The well-known ones its demuxers read, then what they named. The
    // subtitle demuxer was never asked.
    QCOMPARE(abilities.SourceExtensions(),
             (QStringList{"mkv", "webm", "mpg", "mpeg", "mpe", "vob", "mk3d", "mka", "mks"}));
    const QStringList calls = converter_->Calls();
    QCOMPARE(Matching(calls, "demuxer=").size(), 2);
    QVERIFY(Matching(calls, "demuxer=srt").isEmpty());

    // A trial encodes one generated frame with the entry's own words.
    QCOMPARE(Matching(calls, "h264_vaapi"),
             QStringList{"-hide_banner -nostdin -loglevel error -f lavfi -i color=c=gray:size=320x240:rate=25 "
                         "-frames:v 1 " + Vaapi + " -f null -"});
    // Software encoders are never tried.
    QVERIFY(Matching(calls, "libx264").isEmpty());

    const std::optional<TRememberedAbilities> remembered = LoadAbilities(DefaultAbilitiesFile());
    QVERIFY(remembered);
    QCOMPARE(remembered->abilities, abilities);

    // The hanging trial was cut off at its time limit, together with the
    // child it had started.
    QFile pidFile(QFileInfo(converter_->Program()).dir().filePath("hung.pid"));
    QVERIFY(pidFile.open(QIODevice::ReadOnly));
    const qint64 sleeper = pidFile.readAll().trimmed().toLongLong();
    QVERIFY(sleeper > 0);
    QTRY_VERIFY(IsGoneOrZombie(sleeper));
}

void TestConverterProbe::secondStartRunsNothing()
{
    TConverterAbilities learnt;
    {
        TConverterProbe probe;
        Probe(probe, converter_->Program());
        QVERIFY(Finished(probe));
        learnt = probe.Abilities();
    }
    const qsizetype calls = converter_->Calls().size();

    TConverterProbe probe;
    QSignalSpy changes(&probe, &TConverterProbe::AbilitiesChanged);
    Probe(probe, converter_->Program());
    QVERIFY(!probe.IsProbing());
    QCOMPARE(probe.Abilities(), learnt);
    QTest::qWait(200);
    QCOMPARE(converter_->Calls().size(), calls);
    QCOMPARE(changes.count(), 0);
}

void TestConverterProbe::changedProgramIsProbedAgain()
{
    {
        TConverterProbe probe;
        Probe(probe, converter_->Program());
        QVERIFY(Finished(probe));
    }
    converter_->Rebuild();
    converter_->Write("encoders.txt", QByteArray(StandInEncoders).replace("libx264 ", "libx265 "));

    TConverterProbe probe;
    Probe(probe, converter_->Program());
    QVERIFY(probe.IsProbing());
    QVERIFY(!probe.Abilities().encoders);
    QVERIFY(Finished(probe));
    QVERIFY(probe.Abilities().Offers("-c:v libx265 -pix_fmt yuv420p"));
    QVERIFY(!probe.Abilities().Offers("-c:v libx264 -pix_fmt yuv420p"));
    QCOMPARE(LoadAbilities(DefaultAbilitiesFile())->abilities, probe.Abilities());
}

void TestConverterProbe::damagedCacheIsProbedAgainAndRewritten()
{
    QDir().mkpath(QFileInfo(DefaultAbilitiesFile()).path());
    QFile damaged(DefaultAbilitiesFile());
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"format\": 1, \"program\": ");
    damaged.close();

    TConverterProbe probe;
    Probe(probe, converter_->Program());
    QVERIFY(probe.IsProbing());
    QVERIFY(Finished(probe));
    QCOMPARE(LoadAbilities(DefaultAbilitiesFile())->abilities, probe.Abilities());
}

void TestConverterProbe::newHardwareEntryIsTheOnlyRun()
{
    {
        TConverterProbe probe;
        Probe(probe, converter_->Program(), {"-c:v libx264"});
        QVERIFY(Finished(probe));
    }
    const qsizetype calls = converter_->Calls().size();

    // The catalogue now has a hardware entry: what is remembered holds at
    // once, and only the new entry's trial runs.
    TConverterProbe probe;
    Probe(probe, converter_->Program(), {"-c:v libx264", Qsv});
    QVERIFY(probe.IsProbing());
    QVERIFY(probe.Abilities().encoders && probe.Abilities().sourceExtensions);
    QVERIFY(!probe.Abilities().Offers(Qsv));
    QVERIFY(Finished(probe));
    QVERIFY(probe.Abilities().Offers(Qsv));
    const QStringList newCalls = converter_->Calls().mid(calls);
    QCOMPARE(newCalls.size(), 1);
    QVERIFY(newCalls.first().contains("h264_qsv"));
}

void TestConverterProbe::converterThatDoesNotAnswer_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("encodersKnown");
    QTest::newRow("refuses the encoder list") << "encoders" << "-encoders: exit code 1, Unrecognized option" << false;
    QTest::newRow("lists no encoders") << "no encoders" << "listed no encoders" << false;
    QTest::newRow("lists no demuxers") << "no demuxers" << "listed no demuxers" << true;
    QTest::newRow("a demuxer does not answer") << "slow demuxer" << "no answer within 2 s"
                                               << true;
    QTest::newRow("is not there") << "missing" << "No such file or directory" << false;
}

void TestConverterProbe::converterThatDoesNotAnswer()
{
    QFETCH(QString, failure);
    QFETCH(QString, message);
    QFETCH(bool, encodersKnown);
    QString program = converter_->Program();
    if (failure == "encoders") {
        converter_->Write("encoders.txt", "Unrecognized option 'encoders'.\n");
        converter_->Write("encoders-exit", "1");
    } else if (failure == "no encoders") {
        converter_->Write("encoders.txt", StandInEncoders.left(StandInEncoders.indexOf(" V....D")));
    } else if (failure == "no demuxers") {
        converter_->Write("demuxers.txt", "");
    } else if (failure == "slow demuxer") {
        converter_->Write("slow", "30");
    } else {
        program += "-missing";
    }

    TConverterProbe probe;
    QSignalSpy failures(&probe, &TConverterProbe::ProbeFailed);
    Probe(probe, program);
    QVERIFY(Finished(probe));
    QCOMPARE(failures.count(), 1);
    const QString text = failures.first().first().toString();
    QVERIFY2(text.contains(message), qPrintable(text));
    QCOMPARE(bool(probe.Abilities().encoders), encodersKnown);
    QVERIFY(!probe.Abilities().sourceExtensions);
    // What was learnt is remembered; the rest is asked again next time.
    const std::optional<TRememberedAbilities> remembered = LoadAbilities(DefaultAbilitiesFile());
    QCOMPARE(bool(remembered), encodersKnown);
}

namespace {

// The processes this one has started and not yet waited for, whichever of
// its threads started them.
QStringList ChildProcesses()
{
    QStringList children;
    for (const QString& task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile list("/proc/self/task/" + task + "/children");
        if (list.open(QIODevice::ReadOnly))
            children += QString::fromLatin1(list.readAll()).split(' ', Qt::SkipEmptyParts);
    }
    return children;
}

} // namespace

void TestConverterProbe::probeDestroyedMidway()
{
    // Four demuxers to ask, each taking a second, two at a time.
    converter_->Write("demuxers.txt", StandInDemuxers + " D  avi             AVI (Audio Video Interleaved)\n"
                                                      " D  flv             FLV (Flash Video)\n");
    converter_->Write("slow", "1");
    {
        TConverterProbe probe;
        Probe(probe, converter_->Program(), {});
        QTRY_VERIFY(!Matching(converter_->Calls(), "demuxer=").isEmpty());
    }
    // The probe's end waits for the runs under way, so that nothing of it is
    // left running when the program tears down; no further run starts, and
    // the extensions are neither delivered nor remembered.
    QCOMPARE(ChildProcesses(), QStringList());
    QTest::qWait(1500);
    QVERIFY(Matching(converter_->Calls(), "demuxer=").size() <= 2);
    const std::optional<TRememberedAbilities> remembered = LoadAbilities(DefaultAbilitiesFile());
    QVERIFY(remembered && remembered->abilities.encoders && !remembered->abilities.sourceExtensions);
}

QTEST_GUILESS_MAIN(TestConverterProbe)
#include "tst_converter_probe.moc"
