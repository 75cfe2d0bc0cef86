#include "app/FFmpegGUI.h"
#include "batch/BatchListKeeper.h"
#include "engine/EndOfFileStep.h"
#include "engine/ErrorDisplay.h"
#include "engine/FFmpegFunc.h"
#include "batch/SourceFiles.h"
#include "components/CursorEdit.h"
#include "components/ImageList.h"
#include "components/JvComboBox.h"
#include "components/JvTrayIcon.h"
#include "converter/ConverterProbe.h"
#include "process/JvCreateProcess.h"
#include "settings/OptionKinds.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

TFFmpegFrmComponents* FFmpegFrm = nullptr;

TFFmpegFrm::TFFmpegFrm()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    Form = this;
    setObjectName("FFmpegFrm");
    setWindowTitle("Movarin");
    setFixedSize(852, 525);
    // Where Tahoma is missing, prefer faces of similar width so that every
    // caption still fits the fixed layout.
    QFont::insertSubstitutions("Tahoma", {"Liberation Sans", "DejaVu Sans Condensed"});
    QFont tahoma("Tahoma");
    tahoma.setPixelSize(11);
    setFont(tahoma);
    ImageList = new TImageList(this);
    setWindowIcon(QIcon(":/images/movarin.svg"));

    buildToolBar();
    buildBody();
    buildOutputDirBox();
    buildPages();
    buildNonVisual();
    buildShortcuts();
    setTabOrder();
    wireEvents();
    if (const QScreen* desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());
    FFmpegFrm = this;
}

TFFmpegFrm::~TFFmpegFrm()
{
    // The list's last changes are written while the rows still exist.
    delete BatchList;
    BatchList = nullptr;
    if (FFmpegFrm == this)
        FFmpegFrm = nullptr;
}

template <typename Operation> void TFFmpegFrm::WithController(Operation operation)
{
    Guarded([&] {
        TFFmpegFunc controller;
        operation(controller);
    });
}

void TFFmpegFrm::wireEvents()
{
    auto onClick = [this](const char* name, void (TFFmpegFrm::*handler)()) {
        connect(findChild<QToolButton*>(name), &QToolButton::clicked, this, handler);
    };
    onClick("AddFileBtn", &TFFmpegFrm::AddFileBtnClick);
    onClick("DelFileBtn", &TFFmpegFrm::DelFileBtnClick);
    onClick("ClearFileBtn", &TFFmpegFrm::ClearFileBtnClick);
    onClick("ConvFileBtn", &TFFmpegFrm::ConvFileBtnClick);
    onClick("StopConvBtn", &TFFmpegFrm::StopConvBtnClick);
    onClick("PlayBtn", &TFFmpegFrm::PlayBtnClick);
    onClick("HttpBtn", &TFFmpegFrm::HttpBtnClick);
    onClick("QuitBtn", &TFFmpegFrm::QuitBtnClick);
    onClick("JvBtnSltDir", &TFFmpegFrm::JvBtnSltDirClick);
    onClick("JvBtnOpenDir", &TFFmpegFrm::JvBtnOpenDirClick);
    FileListView->viewport()->installEventFilter(this);
    FileListView->viewport()->setAcceptDrops(true);
    for (const OptionKind& kind : OptionKinds) {
        auto* selector = findChild<TJvComboBox*>(kind.selectorName);
        connect(selector, &TJvComboBox::Change, this, [this, selector] { SelectorChange(selector); });
    }
    connect(JvEditNumb, &TCursorEdit::Change, this, &TFFmpegFrm::JvEditNumbChange);
    JvCreateProcess->OnRead = [this](TJvCreateProcess*, const QByteArray& line, bool startsOnNewLine) {
        JvCreateProcessRead(line, startsOnNewLine);
    };
    JvCreateProcess->OnTerminate = [this](TJvCreateProcess*, quint32 exitCode) { JvCreateProcessTerminate(exitCode); };
    connect(JvTimer, &QTimer::timeout, this, &TFFmpegFrm::JvTimerTimer);
    connect(ConverterProbe, &TConverterProbe::AbilitiesChanged, this, &TFFmpegFrm::ConverterProbeChanged);
    connect(ConverterProbe, &TConverterProbe::ProbeFailed, this, &TFFmpegFrm::ConverterProbeFailed);
    connect(BatchList, &TBatchListKeeper::WriteFailed, this, &TFFmpegFrm::BatchListWriteFailed);
    connect(PauseConv1, &QAction::triggered, this, &TFFmpegFrm::PauseConv1Click);
    connect(ConvertAgain1, &QAction::triggered, this, &TFFmpegFrm::ConvertAgain1Click);
    connect(RemoveFile1, &QAction::triggered, this, &TFFmpegFrm::DelFileBtnClick);
    JvTrayIcon->OnClick = [this](Qt::MouseButton button) { JvTrayIconClick(button); };
    connect(JvPopupMenu->findChild<QAction*>("OpenKelmora1"), &QAction::triggered, this,
            &TFFmpegFrm::OpenKelmora1Click);
    connect(JvPopupMenu->findChild<QAction*>("Quit1"), &QAction::triggered, this, &TFFmpegFrm::Quit1Click);
}

void TFFmpegFrm::AddFileBtnClick() { WithController([](TFFmpegFunc& c) { c.AddFile(); }); }
void TFFmpegFrm::DelFileBtnClick() { WithController([](TFFmpegFunc& c) { c.DeleteSelectedFile(); }); }
void TFFmpegFrm::ClearFileBtnClick() { WithController([](TFFmpegFunc& c) { c.ClearFiles(); }); }
void TFFmpegFrm::ConvFileBtnClick() { WithController([](TFFmpegFunc& c) { c.StartConversion(); }); }
void TFFmpegFrm::StopConvBtnClick() { WithController([](TFFmpegFunc& c) { c.StopConversion(); }); }
void TFFmpegFrm::PauseConv1Click() { WithController([](TFFmpegFunc& c) { c.PauseOrResumeConversion(); }); }
void TFFmpegFrm::ConvertAgain1Click() { WithController([](TFFmpegFunc& c) { c.ConvertSelectedAgain(); }); }
void TFFmpegFrm::PlayBtnClick() { WithController([](TFFmpegFunc& c) { c.PlaySelectedFile(); }); }
void TFFmpegFrm::HttpBtnClick() { WithController([](TFFmpegFunc& c) { c.OpenHomepage(); }); }
void TFFmpegFrm::QuitBtnClick() { close(); }
void TFFmpegFrm::FileListViewClick() { WithController([](TFFmpegFunc& c) { c.ShowSelectedFileInfo(); }); }
void TFFmpegFrm::FileListViewDragDrop(const QList<QUrl>& dropped)
{
    WithController([&dropped](TFFmpegFunc& c) { c.AddDroppedFiles(dropped); });
}
void TFFmpegFrm::JvBtnSltDirClick() { WithController([](TFFmpegFunc& c) { c.ChooseOutputDir(); }); }
void TFFmpegFrm::JvBtnOpenDirClick() { WithController([](TFFmpegFunc& c) { c.OpenOutputDir(); }); }
void TFFmpegFrm::SelectorChange(TJvComboBox* selector)
{
    WithController([selector](TFFmpegFunc& c) { c.SaveSelectedIndex(selector); });
}
void TFFmpegFrm::JvEditNumbChange() { WithController([](TFFmpegFunc& c) { c.ConvertCurrentFile(); }); }
void TFFmpegFrm::JvCreateProcessRead(const QByteArray& line, bool startsOnNewLine)
{
    WithController([&line, startsOnNewLine](TFFmpegFunc& c) { c.HandleConverterOutput(line, startsOnNewLine); });
}
void TFFmpegFrm::JvCreateProcessTerminate(quint32 exitCode)
{
    Guarded([this, exitCode] { RunEndOfFileStep(*this, exitCode); });
}
void TFFmpegFrm::JvTimerTimer() { WithController([](TFFmpegFunc& c) { c.ToggleTrayIcon(); }); }
void TFFmpegFrm::ConverterProbeChanged() { WithController([](TFFmpegFunc& c) { c.ApplyConverterAbilities(); }); }
void TFFmpegFrm::ConverterProbeFailed(const QString& message)
{
    WithController([&message](TFFmpegFunc& c) { c.ReportConverterProbeFailure(message); });
}
void TFFmpegFrm::BatchListWriteFailed(const QString& message)
{
    WithController([&message](TFFmpegFunc& c) { c.ReportListWriteFailure(message); });
}
void TFFmpegFrm::JvTrayIconClick(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        JvTrayIcon->RestoreFromTray();
}
void TFFmpegFrm::OpenKelmora1Click() { JvTrayIcon->RestoreFromTray(); }
void TFFmpegFrm::Quit1Click() { close(); }

void TFFmpegFrm::FormShow()
{
    WithController([](TFFmpegFunc& c) {
        c.LoadAllOptionLists();
        c.LoadOutputDir();
        c.StartConverterProbe();
    });
    // The list does not depend on the settings: it comes back also when they
    // cannot be read.
    WithController([](TFFmpegFunc& c) { c.RestoreBatchList(); });
}

void TFFmpegFrm::FormClose() { WithController([](TFFmpegFunc& c) { c.StopOnClose(); }); }

bool TFFmpegFrm::eventFilter(QObject* watched, QEvent* event)
{
    // A click anywhere in the list counts, also on its empty part.
    if (watched == FileListView->viewport() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        FileListViewClick();
    if (watched == FileListView->viewport()
        && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)) {
        auto* drag = static_cast<QDropEvent*>(event);
        drag->setAccepted(AddFileBtn->isEnabled() && HasLocalFiles(drag->mimeData()->urls()));
        return true;
    }
    if (watched == FileListView->viewport() && event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        drop->acceptProposedAction();
        FileListViewDragDrop(drop->mimeData()->urls());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFFmpegFrm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Coming back from the tray shows the window again; only the first
    // showing loads the selectors and the folder.
    if (m_shown || event->spontaneous())
        return;
    m_shown = true;
    FormShow();
}

void TFFmpegFrm::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
    QCoreApplication::quit();
}
