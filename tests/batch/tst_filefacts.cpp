#include "batch/FileFacts.h"
#include "media/MediaInfoQuery.h"

#include <QMap>
#include <QtTest>

namespace {

using Key = QPair<int, QByteArray>;

// A file described by a fixed table; it writes down what was asked, in order.
struct DescribedFile {
    QMap<Key, QByteArray> values;
    QList<Key> asked;

    FileProperty Property()
    {
        return [this](int stream, const char* parameter) {
            asked.append({stream, parameter});
            return values.value({stream, parameter});
        };
    }
};

QStringList Shown(const InfoPanelValues& values)
{
    QStringList lines;
    for (const std::optional<QString>& value : values)
        lines << (value ? *value : QStringLiteral("<none>"));
    return lines;
}

constexpr int General = MediaInfoStream::General;
constexpr int Video = MediaInfoStream::Video;
constexpr int Audio = MediaInfoStream::Audio;

} // namespace

class TestFileFacts : public QObject {
    Q_OBJECT
private slots:
    void sizeKeepsTheNumberAndNamesTheUnitTruthfully_data()
    {
        QTest::addColumn<QByteArray>("library");
        QTest::addColumn<QString>("shown");
        QTest::newRow("mebibytes") << QByteArray("12.35 MiB") << "12.35 MB";
        QTest::newRow("kibibytes") << QByteArray("494.9 KiB") << "494.9 KB";
        QTest::newRow("gibibytes") << QByteArray("1.21 GiB") << "1.21 GB";
        QTest::newRow("tebibytes") << QByteArray("2.000 TiB") << "2.000 TB";
        QTest::newRow("bytes") << QByteArray("512 Bytes") << "512 B";
        QTest::newRow("zero-byte file") << QByteArray("0.000 Byte") << "0.000 B";
        QTest::newRow("unit the list does not know") << QByteArray("12.35 XYZ") << "12.35 MB";
        QTest::newRow("no blank") << QByteArray("12.35MiB") << "12.35MB";
        QTest::newRow("unit alone") << QByteArray("MiB") << "MB";
        QTest::newRow("unreadable file") << QByteArray() << "MB";
    }
    void sizeKeepsTheNumberAndNamesTheUnitTruthfully()
    {
        QFETCH(QByteArray, library);
        QFETCH(QString, shown);
        QCOMPARE(SizeText(library), shown);
    }

    void playingTimeIsHoursMinutesSeconds_data()
    {
        QTest::addColumn<QByteArray>("library");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("panel");
        QTest::newRow("fraction cut off") << QByteArray("01:02:03.456") << "01:02:03" << "01:02:03";
        QTest::newRow("exactly eight") << QByteArray("00:00:03") << "00:00:03" << "00:00:03";
        QTest::newRow("shorter text kept whole") << QByteArray("00:01") << "00:01" << "00:01";
        QTest::newRow("no duration") << QByteArray() << "02:50:00" << "02:00:00";
    }
    void playingTimeIsHoursMinutesSeconds()
    {
        QFETCH(QByteArray, library);
        QFETCH(QString, list);
        QFETCH(QString, panel);
        QCOMPARE(PlayingTimeText(library, ListDefaultPlayingTime), list);
        QCOMPARE(PlayingTimeText(library, PanelDefaultPlayingTime), panel);
    }

    void formatStandsInOnlyForAnEmptyCodec()
    {
        int formatAsked = 0;
        const auto format = [&] {
            ++formatAsked;
            return QByteArray("AVC");
        };
        QCOMPARE(CodecOrFormat("H264", format), QByteArray("H264"));
        QCOMPARE(formatAsked, 0);
        QCOMPARE(CodecOrFormat("", format), QByteArray("AVC"));
        QCOMPARE(formatAsked, 1);
    }

    void rowAsksForExtensionSizeAndDurationInOrder()
    {
        DescribedFile file;
        file.values = {{{General, "FileExtension"}, "mkv"},
                       {{General, "FileSize/String4"}, "3.5 MiB"},
                       {{General, "Duration/String3"}, "00:10:00.040"}};
        const FileRowTexts row = MakeFileRowTexts(file.Property());
        QCOMPARE(QStringList({row.type, row.size, row.playingTime}),
                 QStringList({"mkv", "3.5 MB", "00:10:00"}));
        QVERIFY(row.playingTimeRead);
        QCOMPARE(file.asked, QList<Key>({{General, "FileExtension"},
                                         {General, "FileSize/String4"},
                                         {General, "Duration/String3"}}));
    }

    void unreadableFileGetsTheRowDefaults()
    {
        DescribedFile file;
        const FileRowTexts row = MakeFileRowTexts(file.Property());
        QCOMPARE(QStringList({row.type, row.size, row.playingTime}),
                 QStringList({"", "MB", "02:50:00"}));
        QVERIFY(!row.playingTimeRead); // the stand-in tells nothing about the file
    }

    void panelLinesTakeTheirProperties()
    {
        DescribedFile file;
        file.values = {
            {{General, "FileName"}, "l'été \"clip\""},
            {{General, "FileExtension"}, "mp4"},
            {{General, "FileSize/String4"}, "45.08 KiB"},
            {{General, "Duration/String3"}, "00:00:03.000"},
            {{Video, "Codec/String"}, ""},
            {{Video, "Format"}, "AVC"},
            {{Video, "BitRate/String"}, " 512 kb/s "},
            {{Video, "Width"}, "320"},
            {{Video, "Height"}, "240"},
            {{Video, "FrameRate/String"}, "25.000 FPS"},
            {{Video, "DisplayAspectRatio/String"}, "4:3"},
            {{Audio, "Codec/String"}, "AAC LC"},
            {{Audio, "Format"}, "never shown"},
            {{Audio, "BitRate/String"}, "69.3 kb/s"},
            {{Audio, "Channel(s)/String"}, "1 channel"},
            {{Audio, "SamplingRate/String"}, "44.1 kHz"},
        };
        QCOMPARE(Shown(MakeInfoPanelValues(file.Property())),
                 QStringList({"<none>", "l'été \"clip\".mp4", "mp4", "45.08 KB", "00:00:03", "<none>", "AVC",
                              " 512 kb/s ", "320x240", "25.000 FPS", "4:3", "<none>", "AAC LC", "69.3 kb/s",
                              "1 channel", "44.1 kHz"}));
        QCOMPARE(file.asked,
                 QList<Key>({{General, "FileName"},
                             {General, "FileExtension"},
                             {General, "FileExtension"},
                             {General, "FileSize/String4"},
                             {General, "Duration/String3"},
                             {Video, "Codec/String"},
                             {Video, "Format"},
                             {Video, "BitRate/String"},
                             {Video, "Width"},
                             {Video, "Height"},
                             {Video, "FrameRate/String"},
                             {Video, "DisplayAspectRatio/String"},
                             {Audio, "Codec/String"},
                             {Audio, "BitRate/String"},
                             {Audio, "Channel(s)/String"},
                             {Audio, "SamplingRate/String"}}));
    }

    void unreadableFileGetsThePanelDefaults()
    {
        DescribedFile file;
        QCOMPARE(Shown(MakeInfoPanelValues(file.Property())),
                 QStringList({"<none>", ".", "", "MB", "02:00:00", "<none>", "", "", "x", "", "", "<none>", "", "",
                              "", ""}));
    }

    void emptiedPanelHasEmptyValuesButNoneOnHeadings()
    {
        QCOMPARE(Shown(EmptyInfoPanelValues()),
                 QStringList({"<none>", "", "", "", "", "<none>", "", "", "", "", "", "<none>", "", "", "", ""}));
    }
};

QTEST_GUILESS_MAIN(TestFileFacts)
#include "tst_filefacts.moc"
