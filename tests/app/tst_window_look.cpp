// The window as the X server shows it, with the fonts the desktop really
// has: every selector entry and every panel label reads in full at the fixed
// size, and a window that cannot grow tells the window manager so.
#include "ProgramFixture.h"
#include "app/FFmpegGUI.h"
#include "settings/OptionKinds.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {

// The room a selector's field gives its text: the edit field less the line
// edit's own margins (two pixels each side) and the cursor.
int TextRoom(QComboBox* selector)
{
    QLineEdit* field = selector->lineEdit();
    const QMargins margins = field->textMargins();
    return field->width() - margins.left() - margins.right() - 2 * 2 - 1;
}

// One property of the window as the window manager reads it.
QString WindowProperty(QWidget* window, const char* property)
{
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(window->winId()), property});
    if (!xprop.waitForFinished(10000))
        return {};
    return QString::fromUtf8(xprop.readAllStandardOutput());
}

} // namespace

class TestWindowLook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QString("xcb")); }

    void everySelectorEntryReadsInFull()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        QStringList cut;
        for (const OptionKind& kind : OptionKinds) {
            auto* selector = window->findChild<QComboBox*>(kind.selectorName);
            QVERIFY(selector && selector->count() > 0);
            const QFontMetrics metrics(selector->lineEdit()->font());
            for (int entry = 0; entry < selector->count(); ++entry) {
                const int width = metrics.horizontalAdvance(selector->itemText(entry));
                if (width > TextRoom(selector))
                    cut << QStringLiteral("%1 \"%2\": %3 px in %4").arg(kind.selectorName, selector->itemText(entry))
                               .arg(width).arg(TextRoom(selector));
            }
            // Its label ends before the selector begins.
            const int index = int(&kind - OptionKinds.data());
            auto* label = window->findChild<QLabel*>(QStringLiteral("JvLabel%1").arg(index + 1));
            QCOMPARE(label->text(), QString(kind.label));
            if (label->x() + label->fontMetrics().horizontalAdvance(label->text()) >= selector->x())
                cut << QStringLiteral("label \"%1\" runs into its selector").arg(kind.label);
            if (selector->geometry().right() >= window->JvPageControl->currentWidget()->width())
                cut << QStringLiteral("%1 leaves its page").arg(kind.selectorName);
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join("\n")));
    }

    void everyPanelLabelReadsInFull()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        QTreeWidget* panel = window->MsgListView;
        // What the widest label needs with its picture and the row's margins.
        const int needed = static_cast<QAbstractItemView*>(panel)->sizeHintForColumn(0);
        QVERIFY2(panel->columnWidth(0) >= needed,
                 qPrintable(QStringLiteral("%1 px for %2").arg(panel->columnWidth(0)).arg(needed)));
        QVERIFY(panel->columnWidth(0) + panel->columnWidth(1) <= panel->viewport()->width());
    }

    // The window manager reads the size limits and the buttons the window
    // asks for; a fixed window asks for no maximise button.
    void aWindowThatCannotGrowOffersNoMaximiseButton()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QString sizes = WindowProperty(window, "WM_NORMAL_HINTS");
        QVERIFY2(sizes.contains("minimum size: 852 by 525") && sizes.contains("maximum size: 852 by 525"),
                 qPrintable(sizes));
        // _MOTIF_WM_HINTS: flags, functions, decorations, ...; maximise is
        // 0x10 among the functions and 0x40 among the decorations.
        const QString motif = WindowProperty(window, "_MOTIF_WM_HINTS");
        const QStringList words = motif.section('=', 1).split(',', Qt::SkipEmptyParts);
        QVERIFY2(words.size() >= 3, qPrintable(motif));
        // With the first bit set the others name what is taken away.
        auto offers = [](const QString& word, uint maximise) {
            const uint bits = word.trimmed().toUInt(nullptr, 0);
            return bits & 0x1 ? !(bits & maximise) : bool(bits & maximise);
        };
        QVERIFY2(!offers(words[1], 0x10) && !offers(words[2], 0x40), qPrintable(motif));
    }
};

QTEST_MAIN(TestWindowLook)
#include "tst_window_look.moc"
