#include "process/ShellWords.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool EscapableInDoubleQuotes(char c)
{
    return c == '"' || c == '\\' || c == '$' || c == '`';
}

// Bytes of UTF-8 letters (>= 0x80) count as plain: the splitter treats them
// as ordinary characters, and file names in other scripts stay readable.
bool IsPlain(unsigned char c)
{
    if (c >= 0x80)
        return true;
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    switch (c) {
    case '/': case '.': case '_': case '-': case '+': case '=': case ':': case ',': case '@': case '%':
        return true;
    default:
        return false;
    }
}

} // namespace

QList<QByteArray> SplitShellWords(const QByteArray& commandLine)
{
    QList<QByteArray> words;
    QByteArray word;
    bool inWord = false;
    const qsizetype size = commandLine.size();
    qsizetype i = 0;
    while (i < size) {
        const char c = commandLine[i];
        if (IsBlank(c)) {
            if (inWord)
                words.append(std::exchange(word, QByteArray()));
            inWord = false;
            ++i;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            // An unclosed quote runs to the end of the line rather than
            // failing: the words the user meant are the best guess we have.
            const qsizetype close = commandLine.indexOf('\'', i + 1);
            const qsizetype end = close < 0 ? size : close;
            word.append(commandLine.constData() + i + 1, end - i - 1);
            i = end + 1;
        } else if (c == '"') {
            ++i;
            while (i < size && commandLine[i] != '"') {
                if (commandLine[i] == '\\' && i + 1 < size && EscapableInDoubleQuotes(commandLine[i + 1]))
                    ++i;
                word.append(commandLine[i]);
                ++i;
            }
            ++i;
        } else if (c == '\\' && i + 1 < size) {
            word.append(commandLine[i + 1]);
            i += 2;
        } else {
            word.append(c);
            ++i;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

QByteArray QuoteShellWord(const QByteArray& word)
{
    bool plain = !word.isEmpty();
    for (const char c : word)
        plain = plain && IsPlain(static_cast<unsigned char>(c));
    if (plain)
        return word;
    QByteArray quoted = "'";
    for (const char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    quoted += '\'';
    return quoted;
}
