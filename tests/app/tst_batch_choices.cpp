// The window's side of checking the choices against each source: a row
// whose choices cannot work fails at once with the reason while the batch
// goes on, adaptations show in the row's tool tip, and the codec selectors
// offer what the installed ffmpeg can do.
#include "BatchWindowSetup.h"
#include "Clips.h"
#include "ProgramFixture.h"
#include "components/JvComboBox.h"
#include "converter/ConverterProbe.h"
#include "tst_batch_support.h"

#include <QtTest>

namespace {

QByteArray ChooseByName(int tag, const char* table, const char* name)
{
    return QByteArray("update cmbex_itemindex set cmbex_index = (select cmbex_index from ") + table
         + " where cmbex_name = '" + name + "') where cmbex_tag = " + QByteArray::number(tag);
}

QStringList Entries(TFFmpegFrm* window, const char* selector)
{
    auto* box = window->findChild<TJvComboBox*>(selector);
    QStringList entries;
    for (int index = 0; index < box->count(); ++index)
        entries << box->itemText(index);
    return entries;
}

} // namespace

class TestBatchChoices : public QObject, BatchWindowSetup {
    Q_OBJECT

    QString clip(const QString& name, const QString& videoCodec, int channels = 1)
    {
        ClipOptions options;
        options.fileName = name;
        options.seconds = 1;
        options.videoCodec = videoCodec;
        options.channels = channels;
        return MakeClip(files->path(), options);
    }

    // The picture is to be copied as it is.
    void chooseCopyVideo()
    {
        auto* codec = window->findChild<TJvComboBox*>("JvCmbVdo1");
        auto* size = window->findChild<TJvComboBox*>("JvCmbVdo3");
        codec->setCurrentIndex(codec->findText("Copy video"));
        size->setCurrentIndex(size->findText("Same as source"));
    }

private slots:
    void initTestCase() { ScriptedConverter::Install(); }
    void init()
    {
        StartWindow();
        converter->Put("release");
        window->JvEditDir->setText(files->path());
    }
    void cleanup()
    {
        if (fixture)
            EndWindow();
    }

    // MPEG-2 cannot be copied into MP4, H.264 can: the first row fails with
    // the reason and no converter, the second converts.
    void refusedRowFailsAndTheBatchGoesOn()
    {
        chooseCopyVideo();
        AddRow(window, clip("old.ts", "mpeg2video"));
        AddRow(window, clip("new.mp4", "libx264"));
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), (QList<int>{TImageList::ConversionFailed, TImageList::Converted}));
        QCOMPARE(window->FileListView->topLevelItem(0)->toolTip(0),
                 QString("The source's video (MPEG Video) cannot be copied into MP4: choose a Video Codec other than "
                         "\"Copy video\"."));
        QCOMPARE(converter->Runs(), 1);
        QVERIFY(converter->Arguments(1).contains(files->filePath("new.mp4").toUtf8()));
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());
    }

    // A row's source is read off the window's thread. A reading that comes
    // back after its batch was stopped decides nothing: not for the row of
    // the next batch, which the panel then shows.
    void readingOfAStoppedBatchDecidesNothing()
    {
        chooseCopyVideo();
        AddRow(window, clip("old.ts", "mpeg2video"));
        Press(window, "ConvFileBtn");
        QCOMPARE(Marks(window), QList<int>{TImageList::Converting});
        Press(window, "StopConvBtn");
        Press(window, "ClearFileBtn");
        AddRow(window, clip("new.mp4", "libx264"));
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), QList<int>{TImageList::Converted});
        QCOMPARE(converter->Runs(), 1);
        QCOMPARE(window->MsgListView->topLevelItem(1)->text(1), QString("new.mp4"));
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());
    }

    // MP3 holds two channels: asked for 5.1 it gets two, and the completed
    // row says so.
    void adaptationShowsInTheToolTip()
    {
        auto* sound = window->findChild<TJvComboBox*>("JvCmbAdo1");
        auto* channels = window->findChild<TJvComboBox*>("JvCmbAdo3");
        sound->setCurrentIndex(sound->findText("MP3"));
        channels->setCurrentIndex(channels->findText("5.1 surround"));
        AddRow(window, clip("surround.mp4", "libx264", 6));
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), QList<int>{TImageList::Converted});
        const QList<QByteArray> arguments = converter->Arguments(1);
        QCOMPARE(arguments.value(arguments.indexOf("-ac") + 1), QByteArray("2"));
        QCOMPARE(window->FileListView->topLevelItem(0)->toolTip(0),
                 QString("\"MP3\" holds at most 2 channels: \"5.1 surround\" is mixed down to 2."));
    }

    // An encoder the installed ffmpeg lacks is not offered; a saved choice
    // of it falls back to the first entry and the status line says so,
    // while the saved choice stays for a later ffmpeg.
    void codecSelectorsOfferWhatFFmpegCanDo()
    {
        EndWindow();
        TConverterAbilities abilities;
        abilities.encoders = TEncoderList{{"libx264", "mpeg4", "h264_nvenc"}, {"aac", "libopus"}, {}};
        abilities.trials.insert("-c:v h264_nvenc -pix_fmt yuv420p", true);
        ProgramFixture fixture;
        TConverterProbe::AnswerWith(abilities);
        fixture.PrepareDatabase({ChooseByName(1, "cmbex_vdocodec", "H.265 (HEVC)")});
        TFFmpegFrm* window = fixture.Start();
        QCOMPARE(Entries(window, "JvCmbVdo1"), (QStringList{"H.264", "MPEG-4 Part 2", "H.264 NVENC", "Copy video"}));
        QCOMPARE(Entries(window, "JvCmbAdo1"), (QStringList{"AAC", "Opus", "Copy sound"}));
        QCOMPARE(window->findChild<TJvComboBox*>("JvCmbVdo1")->currentText(), QString("H.264"));
        QCOMPARE(window->JvEditCmdMsg->text(),
                 QString("Video Codec \"H.265 (HEVC)\" is not available with the installed ffmpeg: \"H.264\" is used."));
        QCOMPARE(fixture.Read("select cmbex_index from cmbex_itemindex where cmbex_tag = 1"), QByteArray("1"));
    }
};

QTEST_MAIN(TestBatchChoices)
#include "tst_batch_choices.moc"
