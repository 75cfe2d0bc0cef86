#pragma once

#include <QByteArray>
#include <QList>

// Command lines are split the way a POSIX shell splits words, without any
// expansion: blanks and tabs separate words; '...' keeps its content
// literally; inside "..." a backslash escapes only " \ $ and `; outside
// quotes a backslash escapes the next character.
QList<QByteArray> SplitShellWords(const QByteArray& commandLine);

// The inverse for one argument: SplitShellWords(QuoteShellWord(s)) == {s}
// for every s without NUL. Plain words stay as they are so that command
// lines remain readable.
QByteArray QuoteShellWord(const QByteArray& word);
