#include "batch/ConversionPlan.h"
#include "batch/Mp4Streams.h"
#include "batch/PictureFilter.h"
#include "converter/CodecFragment.h"
#include "process/ShellWords.h"

#include <QMap>

namespace {

QString Quoted(const TChoice& choice) { return u'"' + choice.name + u'"'; }

QString Label(OptionKindIndex kind) { return QString::fromLatin1(OptionKinds[kind].label); }

// "choose "Same as source" for Video Size"
[[noreturn]] void Refuse(const QString& conflict, const QString& change)
{
    throw EChoiceConflict((conflict + ": " + change + '.').toStdString());
}

QString EncoderOf(const TChoice& codec) { return EncodersChosenBy(QString::fromUtf8(codec.fragment)).value(0); }

// The value of an option in a fragment ("-ac 6" gives 6), if it has one.
std::optional<int> OptionValue(const QByteArray& fragment, const QByteArray& option)
{
    const QList<QByteArray> words = SplitShellWords(fragment);
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        bool isNumber = false;
        const int value = words[i + 1].toInt(&isNumber);
        if (words[i] == option && isNumber)
            return value;
    }
    return std::nullopt;
}

// A codec fragment's own picture filters ("-vf format=nv12,hwupload" for an
// encoder that works on the graphics card) go last in the one chain.
struct TCodecWords {
    QByteArray rest;
    QByteArray filterTail;
};
TCodecWords SplitCodecFilters(const QByteArray& fragment)
{
    const QList<QByteArray> words = SplitShellWords(fragment);
    TCodecWords split;
    QList<QByteArray> rest;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if ((words[i] == "-vf" || words[i] == "-filter:v") && i + 1 < words.size())
            split.filterTail = words[++i];
        else
            rest << QuoteShellWord(words[i]);
    }
    split.rest = rest.join(' ');
    return split;
}

class TPlanner {
public:
    TPlanner(const TSourceFacts& source, const TChoices& choices, const QualityArguments& quality)
        : m_source(source), m_choices(choices), m_quality(quality)
    {
    }

    TConversionPlan Plan()
    {
        SelectStreams();
        if (ChoosesCopy(Fragment(VdoCodec)))
            CopyPicture();
        else
            EncodePicture();
        if (ChoosesCopy(Fragment(AdoCodec)))
            CopySound();
        else
            EncodeSound();
        if (m_textSubtitles)
            Add("-c:s mov_text");
        return {m_arguments.join(' '), m_notes};
    }

private:
    const TChoice& Choice(OptionKindIndex kind) const { return m_choices[kind]; }
    QString Fragment(OptionKindIndex kind) const { return QString::fromUtf8(Choice(kind).fragment); }
    void Add(const QByteArray& arguments)
    {
        if (!arguments.isEmpty())
            m_arguments << arguments;
    }

    // The first picture (not cover art), every sound track, the subtitles
    // MP4 can hold as text.
    void SelectStreams()
    {
        Add("-map 0:V:0? -map 0:a?");
        QList<const TSubtitleFacts*> text;
        QMap<QString, int> pictures;
        for (const TSubtitleFacts& subtitle : m_source.subtitles) {
            if (subtitle.inPicture)
                continue;
            if (IsTextSubtitle(subtitle))
                text << &subtitle;
            else
                ++pictures[subtitle.format.isEmpty() ? QStringLiteral("unknown") : subtitle.format];
        }
        for (auto [format, count] : pictures.asKeyValueRange())
            m_notes << (count == 1 ? QStringLiteral("A picture subtitle track (%1) is left out: MP4 holds text subtitles only.")
                                         .arg(format)
                                   : QStringLiteral("%1 picture subtitle tracks (%2) are left out: MP4 holds text subtitles only.")
                                         .arg(count)
                                         .arg(format));
        for (const QString& kind : m_source.dataStreams)
            m_notes << QStringLiteral("A data stream (%1) is left out.").arg(kind.isEmpty() ? QStringLiteral("unknown") : kind);
        if (text.isEmpty())
            return;
        if (pictures.isEmpty()) {
            Add("-map 0:s?");
            m_textSubtitles = true;
            return;
        }
        // Picked one by one, which needs the converter's own stream numbers.
        for (const TSubtitleFacts* subtitle : text) {
            if (subtitle->streamIndex) {
                Add("-map 0:" + QByteArray::number(*subtitle->streamIndex));
                m_textSubtitles = true;
            } else
                m_notes << QStringLiteral("A text subtitle track (%1) is left out: it cannot be told apart from the picture ones in this file.")
                               .arg(subtitle->format);
        }
    }

    void CopyPicture()
    {
        const TChoice& codec = Choice(VdoCodec);
        if (m_source.picture && !Mp4HoldsPicture(*m_source.picture))
            Refuse(QStringLiteral("The source's video (%1) cannot be copied into MP4").arg(m_source.picture->format),
                   QStringLiteral("choose a %1 other than %2").arg(Label(VdoCodec), Quoted(codec)));
        const TChoice& size = Choice(VdoSize);
        const std::optional<TPictureBox> box = FitBox(size.fragment);
        const bool sizeChanges = !size.fragment.isEmpty()
                                 && !(box && m_source.picture && !ExceedsBox(*m_source.picture, *box));
        for (const OptionKindIndex kind : {VdoSize, VdoFps, VdoAspect})
            if ((kind == VdoSize && sizeChanges) || (kind != VdoSize && !Choice(kind).fragment.isEmpty()))
                Refuse(QStringLiteral("%1 %2 keeps the source's picture as it is, so %3 %4 cannot apply")
                           .arg(Label(VdoCodec), Quoted(codec), Label(kind), Quoted(Choice(kind))),
                       QStringLiteral("choose \"Same as source\" for %1, or another %2").arg(Label(kind), Label(VdoCodec)));
        if (m_source.picture)
            m_notes << QStringLiteral("The video is copied as it is: %1 does not apply.").arg(Label(VdoBitrate));
        Add(codec.fragment);
    }

    void EncodePicture()
    {
        const TCodecWords codec = SplitCodecFilters(Choice(VdoCodec).fragment);
        Add(codec.rest);
        Add(RateArguments());
        const QByteArray size = Choice(VdoSize).fragment;
        QByteArray chain = PictureFilterChain(FitBox(size));
        if (!codec.filterTail.isEmpty())
            chain += ',' + codec.filterTail;
        Add("-vf " + QuoteShellWord(chain));
        // An older catalogue's size entries are converter arguments of their own.
        if (!size.isEmpty() && !IsFitChoice(size))
            Add(size);
        Add(Choice(VdoFps).fragment);
        Add(Choice(VdoAspect).fragment);
    }

    QByteArray RateArguments() const
    {
        const TChoice& rate = Choice(VdoBitrate);
        if (!rate.fragment.startsWith(QualityPrefix))
            return rate.fragment;
        const QByteArray level = rate.fragment.mid(qsizetype(sizeof QualityPrefix) - 1);
        if (const std::optional<QByteArray> arguments = m_quality(level, EncoderOf(Choice(VdoCodec))))
            return *arguments;
        Refuse(QStringLiteral("%1 %2 has no setting for the %3 %4")
                   .arg(Label(VdoBitrate), Quoted(rate), Label(VdoCodec), Quoted(Choice(VdoCodec))),
               QStringLiteral("choose a fixed bitrate for %1").arg(Label(VdoBitrate)));
    }

    void CopySound()
    {
        const TChoice& codec = Choice(AdoCodec);
        for (const TSoundFacts& sound : m_source.sound)
            if (!Mp4HoldsSound(sound))
                Refuse(QStringLiteral("The source's sound (%1) cannot be copied into MP4").arg(sound.format),
                       QStringLiteral("choose an %1 other than %2").arg(Label(AdoCodec), Quoted(codec)));
        for (const OptionKindIndex kind : {AdoChannels, AdoFreq})
            if (!Choice(kind).fragment.isEmpty())
                Refuse(QStringLiteral("%1 %2 keeps the source's sound as it is, so %3 %4 cannot apply")
                           .arg(Label(AdoCodec), Quoted(codec), Label(kind), Quoted(Choice(kind))),
                       QStringLiteral("choose \"Same as source\" for %1, or another %2").arg(Label(kind), Label(AdoCodec)));
        if (!m_source.sound.isEmpty())
            m_notes << QStringLiteral("The sound is copied as it is: %1 does not apply.").arg(Label(AdoBitrate));
        Add(codec.fragment);
    }

    void EncodeSound()
    {
        const TChoice& codec = Choice(AdoCodec);
        const TSoundEncoderLimits limits = SoundEncoderLimits(EncoderOf(codec));
        Add(codec.fragment);
        Add(Choice(AdoBitrate).fragment);
        Add(ChannelArguments(limits));
        Add(SamplingArguments(limits));
    }

    QByteArray ChannelArguments(const TSoundEncoderLimits& limits)
    {
        const TChoice& channels = Choice(AdoChannels);
        const QString codec = Quoted(Choice(AdoCodec));
        const std::optional<int> chosen = OptionValue(channels.fragment, "-ac");
        if (limits.maxChannels > 0 && chosen && *chosen > limits.maxChannels) {
            m_notes << QStringLiteral("%1 holds at most %2 channels: %3 is mixed down to %2.")
                           .arg(codec)
                           .arg(limits.maxChannels)
                           .arg(Quoted(channels));
            return "-ac " + QByteArray::number(limits.maxChannels);
        }
        if (limits.maxChannels > 0 && channels.fragment.isEmpty())
            for (const TSoundFacts& sound : m_source.sound)
                if (sound.channels > limits.maxChannels)
                    m_notes << QStringLiteral("A sound track of %1 channels is mixed down to %2: %3 holds at most %2.")
                                   .arg(sound.channels)
                                   .arg(limits.maxChannels)
                                   .arg(codec);
        return channels.fragment;
    }

    QByteArray SamplingArguments(const TSoundEncoderLimits& limits)
    {
        const TChoice& sampling = Choice(AdoFreq);
        const QString codec = Quoted(Choice(AdoCodec));
        if (const std::optional<int> chosen = OptionValue(sampling.fragment, "-ar")) {
            const int rate = NearestSamplingRate(limits, *chosen);
            if (rate == *chosen)
                return sampling.fragment;
            m_notes << QStringLiteral("%1 does not take %2 Hz: the sound is resampled to %3 Hz.").arg(codec).arg(*chosen).arg(rate);
            return "-ar " + QByteArray::number(rate);
        }
        if (sampling.fragment.isEmpty())
            for (const TSoundFacts& sound : m_source.sound)
                if (const int rate = NearestSamplingRate(limits, sound.samplingRate); rate != sound.samplingRate)
                    m_notes << QStringLiteral("A sound track at %1 Hz is resampled to %2 Hz: %3 does not take %1 Hz.")
                                   .arg(sound.samplingRate)
                                   .arg(rate)
                                   .arg(codec);
        return sampling.fragment;
    }

    const TSourceFacts& m_source;
    const TChoices& m_choices;
    const QualityArguments& m_quality;
    QList<QByteArray> m_arguments;
    QStringList m_notes;
    bool m_textSubtitles = false;
};

} // namespace

TConversionPlan PlanConversion(const TSourceFacts& source, const TChoices& choices, const QualityArguments& quality)
{
    return TPlanner(source, choices, quality).Plan();
}
