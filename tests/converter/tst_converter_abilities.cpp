// Which catalogue entries and extensions the abilities allow, known or not,
// and how they are remembered in the cache file.
#include "converter/AbilitiesCache.h"
#include "converter/CodecFragment.h"
#include "converter/ConverterAbilities.h"
#include "converter/SourceExtensions.h"

#include <QtTest>

namespace {

const QString Vaapi = "-vaapi_device /dev/dri/renderD128 -vf format=nv12,hwupload -c:v h264_vaapi";

TConverterAbilities KnownAbilities()
{
    TConverterAbilities abilities;
    abilities.encoders = TEncoderList{{"libx264", "mpeg4", "h264_vaapi", "h264_nvenc", "hevc_qsv"}, {"aac"}, {}};
    abilities.trials.insert(NormalFragment(Vaapi), true);
    abilities.trials.insert(NormalFragment("-c:v h264_nvenc"), false);
    abilities.sourceExtensions = QStringList{"mp4", "mkv", "mka"};
    return abilities;
}

TFileStamp Stamp(const QString& path, qint64 size)
{
    // A nanosecond time beyond what a double holds exactly.
    return {path, path + ".1", size, 1'733'864'015'123'456'789};
}

} // namespace

class TestConverterAbilities : public QObject {
    Q_OBJECT

private slots:
    void offers_data();
    void offers();
    void untriedHardwareEntries();
    void sourceExtensionsStandIn();
    void rememberedAsSaved();
    void unusableFileIsNone_data();
    void unusableFileIsNone();
    void saveFailureCarriesTheReason();

private:
    QTemporaryDir dir_;
};

void TestConverterAbilities::offers_data()
{
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<bool>("offered");
    // Unknown: software entries as the catalogue has them, hardware never.
    QTest::newRow("unknown, software") << false << "-c:v libx265 -pix_fmt yuv420p" << true;
    QTest::newRow("unknown, hardware") << false << Vaapi << false;
    QTest::newRow("unknown, copy") << false << "-c:v copy" << true;
    QTest::newRow("has it") << true << "-c:v libx264 -pix_fmt yuv420p" << true;
    QTest::newRow("lacks it") << true << "-c:v libx265 -pix_fmt yuv420p -tag:v hvc1" << false;
    QTest::newRow("audio it has") << true << "-c:a aac" << true;
    QTest::newRow("audio it lacks") << true << "-c:a libopus" << false;
    QTest::newRow("copy") << true << "-c:v copy" << true;
    QTest::newRow("no encoder") << true << "" << true;
    QTest::newRow("hardware, trial worked") << true << Vaapi << true;
    QTest::newRow("hardware, same words spaced otherwise") << true << "  " + Vaapi + "  " << true;
    QTest::newRow("hardware, trial failed") << true << "-c:v h264_nvenc" << false;
    // A trial proves the fragment it ran with, not the encoder.
    QTest::newRow("hardware, other fragment untried") << true << "-c:v h264_vaapi" << false;
    QTest::newRow("hardware, never tried") << true << "-c:v hevc_qsv" << false;
    QTest::newRow("hardware it lacks") << true << "-c:v av1_qsv" << false;
}

void TestConverterAbilities::offers()
{
    QFETCH(bool, known);
    QFETCH(QString, fragment);
    QFETCH(bool, offered);
    const TConverterAbilities abilities = known ? KnownAbilities() : TConverterAbilities();
    QCOMPARE(abilities.Offers(fragment), offered);
}

void TestConverterAbilities::untriedHardwareEntries()
{
    const QStringList catalogue = {"-c:v libx264", Vaapi, "-c:v h264_nvenc", "-c:v  hevc_qsv", "-c:v hevc_qsv",
                                   "-c:v av1_qsv", "-c:v copy"};
    QCOMPARE(KnownAbilities().UntriedHardwareEntries(catalogue), QStringList{"-c:v hevc_qsv"});
    // Nothing is tried before the encoder list says what is there.
    QCOMPARE(TConverterAbilities().UntriedHardwareEntries(catalogue), QStringList{});
}

void TestConverterAbilities::sourceExtensionsStandIn()
{
    QCOMPARE(TConverterAbilities().SourceExtensions(), WellKnownVideoExtensions());
    QCOMPARE(KnownAbilities().SourceExtensions(), (QStringList{"mp4", "mkv", "mka"}));
}

void TestConverterAbilities::rememberedAsSaved()
{
    const QString file = dir_.filePath("cache/movarin/abilities.json"); // folders made on the way
    TRememberedAbilities remembered;
    remembered.build.program = Stamp("/usr/bin/ffmpeg", 288'496);
    remembered.build.libraries = {Stamp("/lib/libavcodec.so.59", 14'000'000), Stamp("/lib/libavformat.so.59", 2'500)};
    remembered.abilities = KnownAbilities();
    SaveAbilities(file, remembered);

    const std::optional<TRememberedAbilities> loaded = LoadAbilities(file);
    QVERIFY(loaded);
    QCOMPARE(loaded->abilities, remembered.abilities);
    QCOMPARE(loaded->build.libraries.size(), 2);
    for (const auto& [read, written] : {std::pair{loaded->build.program, remembered.build.program},
                                        std::pair{loaded->build.libraries[1], remembered.build.libraries[1]}}) {
        QCOMPARE(read.path, written.path);
        QCOMPARE(read.target, written.target);
        QCOMPARE(read.size, written.size);
        QCOMPARE(read.modifiedNs, written.modifiedNs);
    }

    // Parts not known yet stay unknown.
    remembered.abilities = TConverterAbilities();
    SaveAbilities(file, remembered);
    QCOMPARE(LoadAbilities(file)->abilities, TConverterAbilities());
}

void TestConverterAbilities::unusableFileIsNone_data()
{
    QTest::addColumn<QByteArray>("contents");
    TRememberedAbilities remembered;
    remembered.build.program = Stamp("/usr/bin/ffmpeg", 1);
    remembered.abilities = KnownAbilities();
    SaveAbilities(dir_.filePath("good.json"), remembered);
    QFile good(dir_.filePath("good.json"));
    QVERIFY(good.open(QIODevice::ReadOnly));
    const QByteArray valid = good.readAll();

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not JSON") << QByteArray("\x7f" "ELF\x02\x01\x01");
    QTest::newRow("cut short") << valid.left(valid.size() / 2);
    QTest::newRow("other format") << QByteArray(valid).replace("\"format\": 1", "\"format\": 2");
    QTest::newRow("size no number") << QByteArray(valid).replace("\"size\": \"1\"", "\"size\": \"one\"");
    QTest::newRow("trial no truth value") << QByteArray(valid).replace("true", "\"yes\"");
    QTest::newRow("encoder no text") << QByteArray(valid).replace("\"libx264\"", "264");
    QTest::newRow("array") << QByteArray("[1, 2, 3]");
}

void TestConverterAbilities::unusableFileIsNone()
{
    QFETCH(QByteArray, contents);
    const QString file = dir_.filePath("damaged.json");
    QFile output(file);
    QVERIFY(output.open(QIODevice::WriteOnly | QIODevice::Truncate));
    output.write(contents);
    output.close();
    QVERIFY(!LoadAbilities(file));
}

void TestConverterAbilities::saveFailureCarriesTheReason()
{
    // A plain file where the folder should be.
    QFile blocker(dir_.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        SaveAbilities(dir_.filePath("blocker/abilities.json"), TRememberedAbilities());
        QFAIL("saved under a plain file");
    } catch (const std::exception& error) {
        const QString text = QString::fromUtf8(error.what());
        QVERIFY2(text.contains("blocker/abilities.json") && text.contains("Not a directory"), error.what());
    }
    QVERIFY(!LoadAbilities(dir_.filePath("missing.json")));
}

QTEST_GUILESS_MAIN(TestConverterAbilities)
#include "tst_converter_abilities.moc"
