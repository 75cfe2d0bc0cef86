#include "converter/CodecFragment.h"

#include "process/ShellWords.h"

namespace {

bool IsCodecOption(const QByteArray& word)
{
    return word == "-c" || word == "-codec" || word.startsWith("-c:") || word.startsWith("-codec:")
        || word == "-vcodec" || word == "-acodec" || word == "-scodec";
}

} // namespace

QStringList EncodersChosenBy(const QString& fragment)
{
    const QList<QByteArray> words = SplitShellWords(fragment.toUtf8());
    QStringList encoders;
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        if (!IsCodecOption(words[i]))
            continue;
        ++i;
        if (words[i] != "copy" && !encoders.contains(QString::fromUtf8(words[i])))
            encoders.append(QString::fromUtf8(words[i]));
    }
    return encoders;
}

bool ChoosesCopy(const QString& fragment)
{
    const QList<QByteArray> words = SplitShellWords(fragment.toUtf8());
    for (qsizetype i = 0; i + 1 < words.size(); ++i)
        if (IsCodecOption(words[i]) && words[i + 1] == "copy")
            return true;
    return false;
}

QString NormalFragment(const QString& fragment)
{
    QByteArrayList quoted;
    for (const QByteArray& word : SplitShellWords(fragment.toUtf8()))
        quoted.append(QuoteShellWord(word));
    return QString::fromUtf8(quoted.join(' '));
}
