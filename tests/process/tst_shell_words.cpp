#include "process/ShellWords.h"

#include <QRandomGenerator>
#include <QTest>

class TestShellWords : public QObject {
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void quoteLeavesPlainWordsReadable_data();
    void quoteLeavesPlainWordsReadable();
    void quoteThenSplitGivesTheWordBack_data();
    void quoteThenSplitGivesTheWordBack();
    void quotedWordsJoinIntoACommandLine();
};

void TestShellWords::split_data()
{
    QTest::addColumn<QByteArray>("commandLine");
    QTest::addColumn<QByteArrayList>("words");

    QTest::newRow("blanks and tabs separate") << QByteArray("  a \t b  ") << QByteArrayList{"a", "b"};
    QTest::newRow("nothing") << QByteArray("") << QByteArrayList{};
    QTest::newRow("only blanks") << QByteArray(" \t ") << QByteArrayList{};
    QTest::newRow("single quotes keep everything") << QByteArray("'a \\\" $x'") << QByteArrayList{"a \\\" $x"};
    QTest::newRow("empty quotes are an argument") << QByteArray("a '' \"\"") << QByteArrayList{"a", "", ""};
    QTest::newRow("quotes join with the word around them")
        << QByteArray("pre'a b'\"c d\"post") << QByteArrayList{"prea bc dpost"};
    QTest::newRow("double quotes escape four characters")
        << QByteArray(R"("\" \\ \$ \`")") << QByteArrayList{R"(" \ $ `)"};
    QTest::newRow("double quotes keep other backslashes")
        << QByteArray(R"("a\nb\'c")") << QByteArrayList{R"(a\nb\'c)"};
    QTest::newRow("backslash outside quotes escapes the next character")
        << QByteArray(R"(a\ b \'c\\)") << QByteArrayList{"a b", "'c\\"};
    QTest::newRow("no expansion")
        << QByteArray("$HOME ~ * `date` \"$PATH\"")
        << QByteArrayList{"$HOME", "~", "*", "`date`", "$PATH"};
    QTest::newRow("newline belongs to the word") << QByteArray("a\nb c") << QByteArrayList{"a\nb", "c"};
    QTest::newRow("unclosed quote runs to the end") << QByteArray("a 'b c") << QByteArrayList{"a", "b c"};
    QTest::newRow("trailing backslash stays") << QByteArray("a\\") << QByteArrayList{"a\\"};
    QTest::newRow("converter command line")
        << QByteArray("/opt/x/bin/ffmpeg -y -i '/home/u/My Videos/a.avi' -vcodec mpeg4 '/home/u/out/a.mp4'")
        << QByteArrayList{"/opt/x/bin/ffmpeg", "-y", "-i", "/home/u/My Videos/a.avi", "-vcodec", "mpeg4",
                          "/home/u/out/a.mp4"};
}

void TestShellWords::split()
{
    QFETCH(QByteArray, commandLine);
    QFETCH(QByteArrayList, words);
    QCOMPARE(SplitShellWords(commandLine), words);
}

void TestShellWords::quoteLeavesPlainWordsReadable_data()
{
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<QByteArray>("quoted");

    QTest::newRow("program path") << QByteArray("/usr/bin/ffmpeg") << QByteArray("/usr/bin/ffmpeg");
    QTest::newRow("option") << QByteArray("-y") << QByteArray("-y");
    QTest::newRow("plain punctuation") << QByteArray("a=b,c:d@e%f+g_h.mp4") << QByteArray("a=b,c:d@e%f+g_h.mp4");
    QTest::newRow("non-ASCII letters") << QByteArray("Vidéo_Ünïcode_видео") << QByteArray("Vidéo_Ünïcode_видео");
    QTest::newRow("empty") << QByteArray("") << QByteArray("''");
    QTest::newRow("blank") << QByteArray("My Videos") << QByteArray("'My Videos'");
    QTest::newRow("single quote") << QByteArray("it's") << QByteArray(R"('it'\''s')");
}

void TestShellWords::quoteLeavesPlainWordsReadable()
{
    QFETCH(QByteArray, word);
    QFETCH(QByteArray, quoted);
    QCOMPARE(QuoteShellWord(word), quoted);
}

void TestShellWords::quoteThenSplitGivesTheWordBack_data()
{
    QTest::addColumn<QByteArray>("word");

    QTest::newRow("blanks") << QByteArray("  a \t b  ");
    QTest::newRow("both quotes") << QByteArray(R"(it's "quoted" '')");
    QTest::newRow("backslashes") << QByteArray(R"(\ \\ \' \" C:\dir\)");
    QTest::newRow("dollar and backquote") << QByteArray("$HOME ${x} `date` $(ls)");
    QTest::newRow("newlines") << QByteArray("\nline\r\nnext\n");
    QTest::newRow("leading dash") << QByteArray("-rf /");
    QTest::newRow("non-ASCII letters") << QByteArray("/home/ü/Видео с пробелом/файл's.avi");
    QTest::newRow("shell specials") << QByteArray("a;b|c&d<e>f(g)h{i}j*k?l[m]n#o!p~q^r");

    // Every single byte, and random byte strings.
    for (int byte = 1; byte < 256; ++byte)
        QTest::addRow("byte %d", byte) << QByteArray(1, char(byte));
    QRandomGenerator random(20240611);
    for (int i = 0; i < 200; ++i) {
        QByteArray word;
        const int size = random.bounded(1, 24);
        for (int j = 0; j < size; ++j)
            word.append(char(random.bounded(1, 256)));
        QTest::addRow("random %d", i) << word;
    }
}

void TestShellWords::quoteThenSplitGivesTheWordBack()
{
    QFETCH(QByteArray, word);
    QCOMPARE(SplitShellWords(QuoteShellWord(word)), QByteArrayList{word});
}

void TestShellWords::quotedWordsJoinIntoACommandLine()
{
    const QByteArrayList words{"/usr/bin/ffmpeg", "-i", "a b.avi", "", "it's", "\\\"$`", "-y"};
    QByteArray commandLine;
    for (const QByteArray& word : words)
        commandLine += (commandLine.isEmpty() ? "" : " ") + QuoteShellWord(word);
    QCOMPARE(SplitShellWords(commandLine), words);
}

QTEST_GUILESS_MAIN(TestShellWords)
#include "tst_shell_words.moc"
