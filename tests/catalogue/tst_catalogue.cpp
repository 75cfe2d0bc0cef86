// The default LibFFmpeg.Dat that ships with the program: its tables have the
// shape the program's statements expect, its starting choices point at real
// entries, every entry makes the installed ffmpeg write a valid MP4 (with
// the command line the program builds from it), every quality level means
// something for every encoder, and the build never overwrites a user's copy.

#include "CatalogueReader.h"
#include "ConversionExpectation.h"
#include "MediaProbe.h"
#include "ToolRun.h"
#include "batch/ConversionPlan.h"
#include "converter/CodecFragment.h"
#include "converter/EncoderList.h"
#include "media/MediaInfoDll.h"
#include "process/ShellWords.h"
#include "settings/OptionKinds.h"

#include <QFile>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class CatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void tableHasTheProgramsColumns_data();
    void tableHasTheProgramsColumns();
    void entryPositionsRunFromZeroWithoutGaps_data();
    void entryPositionsRunFromZeroWithoutGaps();
    void fragmentIsPlainBlankSeparatedWords_data();
    void fragmentIsPlainBlankSeparatedWords();
    void startingChoicePointsAtAnEntry_data();
    void startingChoicePointsAtAnEntry();
    void everyTagHasExactlyOneSavedChoice();
    void qualityLevelHasArgumentsForEveryEncoder();
    void outputFolderRowStartsEmpty();

    void entryConvertsToAValidMp4_data();
    void entryConvertsToAValidMp4();

    void buildPlacesDatabaseOnlyWhereNoneExists_data();
    void buildPlacesDatabaseOnlyWhereNoneExists();

private:
    static QString requiredEnvironment(const char *name);
    QString makeSourceClip();
    void addRowPerEntry();

    QString m_sqlite3;
    QString m_ffmpeg;
    QString m_ffprobe;
    QString m_pristineDatabase;
    std::unique_ptr<CatalogueReader> m_catalogue;
    QTemporaryDir m_workDir;
    QString m_sourceClip;
    ProbedFile m_source;
    QHash<QString, QString> m_encoderCodecs;
    TChoices m_startingChoices; // one per kind, in command-line order
    TSourceFacts m_sourceFacts;
};

QString CatalogueTest::requiredEnvironment(const char *name)
{
    const QString value = qEnvironmentVariable(name);
    if (value.isEmpty())
        qFatal("%s is not set; run this test through ctest", name);
    return value;
}

void CatalogueTest::initTestCase()
{
    m_sqlite3 = requiredEnvironment("MOVARIN_SQLITE3");
    m_pristineDatabase = requiredEnvironment("MOVARIN_DEFAULT_DATABASE");
    QVERIFY2(QFile::exists(m_pristineDatabase), qPrintable(m_pristineDatabase));
    m_catalogue = std::make_unique<CatalogueReader>(m_sqlite3, m_pristineDatabase);

    m_ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    m_ffprobe = QStandardPaths::findExecutable("ffprobe");
    QVERIFY2(!m_ffmpeg.isEmpty() && !m_ffprobe.isEmpty(),
             "ffmpeg and ffprobe (Debian package ffmpeg) must be on PATH");
    m_encoderCodecs = installedEncoderCodecs(m_ffmpeg);
    QVERIFY2(m_encoderCodecs.value("libx264") == "h264", "could not read ffmpeg -encoders");

    QVERIFY(m_workDir.isValid());
    m_sourceClip = makeSourceClip();
    QVERIFY(!m_sourceClip.isEmpty());
    m_source = probeMediaFile(m_ffprobe, m_sourceClip);
    QVERIFY2(m_source.error.isEmpty(), qPrintable(m_source.error));

    // A broken starting choice is reported by startingChoicePointsAtAnEntry;
    // the conversions then go on with that kind's fragment left empty.
    for (size_t kind = 0; kind < OptionKinds.size(); ++kind) {
        const std::optional<int> saved = m_catalogue->savedIndex(OptionKinds[kind].tag);
        const OptionEntry entry = m_catalogue->entries(OptionKinds[kind].table).value(saved.value_or(-1));
        m_startingChoices[kind] = {entry.name, entry.fragment.toUtf8()};
    }
    QVERIFY(LoadMediaInfo(MediaInfoLibraryName));
    m_sourceFacts = ReadSourceFacts(m_sourceClip);
    QVERIFY(m_sourceFacts.picture);
}

// A short, small, low-rate clip keeps the 4K and AV1 conversions to seconds.
// H.264/AAC in MP4 so that the "copy" entries have something MP4 can hold;
// stereo at 44.1 kHz so that the mono, 5.1 and 48 kHz entries change it.
QString CatalogueTest::makeSourceClip()
{
    const QString clip = m_workDir.filePath("source.mp4");
    const ToolResult result = runTool(
        m_ffmpeg, {"-y", "-v", "error",
                   "-f", "lavfi", "-i", "testsrc=size=320x240:rate=10:duration=1",
                   "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=1",
                   "-c:v", "libx264", "-pix_fmt", "yuv420p",
                   "-c:a", "aac", "-ac", "2", "-shortest", clip});
    if (!result.succeeded()) {
        qWarning("making the source clip failed: %s", result.output.constData());
        return {};
    }
    return clip;
}

void CatalogueTest::tableHasTheProgramsColumns_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns"); // "name type", in order

    QTest::newRow("cmbex_itemindex")
        << QString("cmbex_itemindex") << QStringList{"cmbex_tag integer", "cmbex_index integer"};
    for (const OptionKind &kind : OptionKinds) {
        QTest::newRow(kind.table) << QString(kind.table)
                                  << QStringList{"cmbex_index integer", "cmbex_name text",
                                                 "cmbex_cmd text"};
    }
    QTest::newRow("savedir_videofile")
        << QString("savedir_videofile") << QStringList{"dir_numb text", "dir_name text"};
}

void CatalogueTest::tableHasTheProgramsColumns()
{
    QFETCH(QString, table);
    QFETCH(QStringList, columns);

    QString error;
    const QJsonArray info = m_catalogue->query(QStringLiteral("pragma table_info(%1)").arg(table),
                                               &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList actual;
    for (const QJsonValue &column : info) {
        const QJsonObject fields = column.toObject();
        actual.append(fields.value("name").toString() + ' '
                      + fields.value("type").toString().toLower());
    }
    QCOMPARE(actual, columns);
}

void CatalogueTest::entryPositionsRunFromZeroWithoutGaps_data()
{
    QTest::addColumn<QString>("table");
    for (const OptionKind &kind : OptionKinds)
        QTest::newRow(kind.table) << QString(kind.table);
}

void CatalogueTest::entryPositionsRunFromZeroWithoutGaps()
{
    QFETCH(QString, table);

    QString error;
    const QList<OptionEntry> entries = m_catalogue->entries(table, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!entries.isEmpty());
    for (int position = 0; position < entries.size(); ++position) {
        QCOMPARE(entries.at(position).index, position);
        QVERIFY2(!entries.at(position).name.trimmed().isEmpty(), "entry without a name");
    }
}

void CatalogueTest::addRowPerEntry()
{
    QTest::addColumn<int>("kindPosition");
    QTest::addColumn<QString>("fragment");

    for (int kindPosition = 0; kindPosition < int(OptionKinds.size()); ++kindPosition) {
        const char *table = OptionKinds[kindPosition].table;
        for (const OptionEntry &entry : m_catalogue->entries(table))
            QTest::addRow("%s: %s", table, qPrintable(entry.name)) << kindPosition << entry.fragment;
    }
}

void CatalogueTest::fragmentIsPlainBlankSeparatedWords_data()
{
    addRowPerEntry();
}

// The program splits its command line by shell word rules, this test and a
// reader of the catalogue by blanks; both agree only on plain words.
void CatalogueTest::fragmentIsPlainBlankSeparatedWords()
{
    QFETCH(QString, fragment);

    if (fragment.isEmpty())
        return;
    static const QRegularExpression plainWords(R"(^[^\s'"\\$`]+( [^\s'"\\$`]+)*$)");
    QVERIFY2(plainWords.match(fragment).hasMatch(), qPrintable(fragment));
    QVERIFY2(fragment.startsWith('-') || fragment.startsWith(QualityPrefix) || fragment.startsWith("fit:"),
             "a fragment starts with an ffmpeg option, or is one the program reads");
}

void CatalogueTest::startingChoicePointsAtAnEntry_data()
{
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("table");
    for (const OptionKind &kind : OptionKinds)
        QTest::newRow(kind.table) << kind.tag << QString(kind.table);
}

void CatalogueTest::startingChoicePointsAtAnEntry()
{
    QFETCH(int, tag);
    QFETCH(QString, table);

    const std::optional<int> saved = m_catalogue->savedIndex(tag);
    QVERIFY(saved.has_value());
    QVERIFY(*saved >= 0);
    QVERIFY(*saved < m_catalogue->entries(table).size());
}

void CatalogueTest::everyTagHasExactlyOneSavedChoice()
{
    const QJsonArray rows = m_catalogue->query(
        "select cmbex_tag from cmbex_itemindex order by cmbex_tag");
    QList<int> tags;
    for (const QJsonValue &row : rows)
        tags.append(row.toObject().value("cmbex_tag").toInt());
    QCOMPARE(tags, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

// A level without a row for the chosen encoder would refuse the
// combination: none may be missing from the shipped catalogue.
void CatalogueTest::qualityLevelHasArgumentsForEveryEncoder()
{
    for (const OptionEntry &rate : m_catalogue->entries("cmbex_vdobitrate")) {
        if (!rate.fragment.startsWith(QualityPrefix))
            continue;
        const QString level = rate.fragment.mid(int(sizeof QualityPrefix) - 1);
        for (const OptionEntry &codec : m_catalogue->entries("cmbex_vdocodec")) {
            const QString encoder = EncodersChosenBy(codec.fragment).value(0);
            if (encoder.isEmpty())
                continue;
            const QJsonArray rows = m_catalogue->query(
                QStringLiteral("select cmbex_cmd from cmbex_vdoquality where cmbex_level = '%1' "
                               "and cmbex_encoder = '%2'").arg(level, encoder));
            QVERIFY2(rows.size() == 1, qPrintable(rate.name + " with " + codec.name));
        }
    }
}

void CatalogueTest::outputFolderRowStartsEmpty()
{
    const QJsonArray rows = m_catalogue->query(
        "select dir_name from savedir_videofile where dir_numb = '001'");
    QCOMPARE(rows.size(), 1);
    const QJsonValue folder = rows.first().toObject().value("dir_name");
    QVERIFY2(folder.isString(), "an empty text, not NULL");
    QCOMPARE(folder.toString(), QString());
}

void CatalogueTest::entryConvertsToAValidMp4_data()
{
    addRowPerEntry();
}

void CatalogueTest::entryConvertsToAValidMp4()
{
    QFETCH(int, kindPosition);
    QFETCH(QString, fragment);

    TChoices choices = m_startingChoices;
    choices[kindPosition].fragment = fragment.toUtf8();
    // The codec selectors offer a graphics-card encoder only once its trial
    // has worked, and no encoder the installed ffmpeg lacks.
    for (const OptionKindIndex codec : {VdoCodec, AdoCodec})
        for (const QString &encoder : EncodersChosenBy(QString::fromUtf8(choices[codec].fragment)))
            if (IsHardwareEncoder(encoder) || !m_encoderCodecs.contains(encoder))
                QSKIP(qPrintable(encoder + " is not offered here"));
    const QString output = m_workDir.filePath("converted.mp4");
    QFile::remove(output);

    // Assembled as the program does it.
    const auto quality = [this](const QByteArray &level, const QString &encoder) -> std::optional<QByteArray> {
        const QJsonArray rows = m_catalogue->query(
            QStringLiteral("select cmbex_cmd from cmbex_vdoquality where cmbex_level = '%1' and cmbex_encoder = '%2'")
                .arg(QString::fromUtf8(level), encoder));
        if (rows.isEmpty())
            return std::nullopt;
        return rows.first().toObject().value("cmbex_cmd").toString().toUtf8();
    };
    const TConversionPlan plan = PlanConversion(m_sourceFacts, choices, quality);
    QStringList arguments{"-y", "-i", m_sourceClip};
    for (const QByteArray &word : SplitShellWords(plan.arguments))
        arguments << QString::fromUtf8(word);
    arguments << output;
    const ToolResult conversion = runTool(m_ffmpeg, arguments);
    QVERIFY2(conversion.succeeded(),
             qPrintable(QStringLiteral("ffmpeg %1\nexit %2\n%3")
                            .arg(arguments.join(' '))
                            .arg(conversion.exitCode)
                            .arg(QString::fromUtf8(conversion.output.right(2000)))));

    const ProbedFile result = probeMediaFile(m_ffprobe, output);
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QCOMPARE(result.majorBrand, QString("isom"));
    QVERIFY(result.duration > 0.5);
    QCOMPARE(result.streamsOfType("video").size(), 1);
    QCOMPARE(result.streamsOfType("audio").size(), 1);

    const ConversionExpectation expected = expectedConversion(
        arguments, m_encoderCodecs, m_source.streamsOfType("video").value(0),
        m_source.streamsOfType("audio").value(0));
    const ProbedStream video = result.streamsOfType("video").first();
    const ProbedStream audio = result.streamsOfType("audio").first();
    QCOMPARE(video.codec, expected.videoCodec);
    QCOMPARE(video.width, expected.width);
    QCOMPARE(video.height, expected.height);
    QVERIFY2(qAbs(video.frameRate - expected.frameRate) < 0.01 * expected.frameRate,
             qPrintable(QStringLiteral("%1 fps").arg(video.frameRate)));
    // Encoders store the pixel shape as a small fraction, so the shown
    // shape is only close to the one asked for.
    QVERIFY2(qAbs(video.displayAspect - expected.displayAspect) < 0.01 * expected.displayAspect,
             qPrintable(QStringLiteral("shown as %1:1").arg(video.displayAspect)));
    QCOMPARE(audio.codec, expected.audioCodec);
    if (expected.channels)
        QCOMPARE(audio.channels, *expected.channels);
    if (expected.sampleRate)
        QCOMPARE(audio.sampleRate, *expected.sampleRate);

    // Reading the headers is not enough: the whole file must decode cleanly.
    const ToolResult decoding = runTool(m_ffmpeg, {"-v", "error", "-xerror", "-i", output,
                                                   "-f", "null", "-"});
    QVERIFY2(decoding.succeeded() && decoding.output.trimmed().isEmpty(),
             decoding.output.constData());
}

void CatalogueTest::buildPlacesDatabaseOnlyWhereNoneExists_data()
{
    QTest::addColumn<QString>("destination"); // relative to a fresh folder
    QTest::addColumn<bool>("userCopyThere");
    QTest::addColumn<bool>("olderGeneration");

    QTest::newRow("first build") << QString("movarin/LibFFmpeg.Dat") << false << false;
    QTest::newRow("program folder not made yet") << QString("new/movarin/LibFFmpeg.Dat") << false << false;
    QTest::newRow("rebuild keeps the user's choices") << QString("movarin/LibFFmpeg.Dat") << true << false;
    QTest::newRow("an older generation is moved aside") << QString("movarin/LibFFmpeg.Dat") << true << true;
}

// Runs the same script the build runs, against a folder of its own.
void CatalogueTest::buildPlacesDatabaseOnlyWhereNoneExists()
{
    QFETCH(QString, destination);
    QFETCH(bool, userCopyThere);
    QFETCH(bool, olderGeneration);

    QTemporaryDir programRoot;
    QVERIFY(programRoot.isValid());
    const QString target = programRoot.filePath(destination);
    const CatalogueReader placed(m_sqlite3, target);
    const int userChoice = 3;
    if (userCopyThere) {
        QVERIFY(QDir().mkpath(QFileInfo(target).path()));
        QVERIFY(QFile::copy(m_pristineDatabase, target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        QString error;
        QVERIFY2(placed.execute(QStringLiteral("update cmbex_itemindex set cmbex_index = %1 "
                                               "where cmbex_tag = 1").arg(userChoice),
                                &error),
                 qPrintable(error));
        if (olderGeneration)
            QVERIFY2(placed.execute("pragma user_version = 0", &error), qPrintable(error));
    }

    const QString script = requiredEnvironment("MOVARIN_SOURCE_DIR")
                           + "/data/InstallDefaultDatabase.cmake";
    const ToolResult run = runTool(requiredEnvironment("MOVARIN_CMAKE"),
                                   {"-DSOURCE=" + m_pristineDatabase,
                                    "-DDESTINATION=" + target, "-DSQLITE3=" + m_sqlite3, "-P", script});
    QVERIFY2(run.succeeded(), run.output.constData());

    QVERIFY(QFile::exists(target));
    const std::optional<int> videoCodecChoice = placed.savedIndex(1);
    QVERIFY(videoCodecChoice.has_value());
    const bool kept = userCopyThere && !olderGeneration;
    QCOMPARE(*videoCodecChoice, kept ? userChoice : *m_catalogue->savedIndex(1));
    QCOMPARE(QFile::exists(target + ".old"), olderGeneration);
}

QTEST_GUILESS_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
