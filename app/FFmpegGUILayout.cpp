// Builds the main window's components at their fixed places.
#include "app/FFmpegGUI.h"
#include "app/GridLineDelegate.h"
#include "batch/BatchListFile.h"
#include "batch/BatchListKeeper.h"
#include "batch/BatchRows.h"
#include "batch/SourceFiles.h"
#include "batch/SourceReader.h"
#include "components/CursorEdit.h"
#include "components/Dialogs.h"
#include "components/FileListBinding.h"
#include "components/ImageList.h"
#include "components/JvComboBox.h"
#include "components/JvTrayIcon.h"
#include "converter/ConverterProbe.h"
#include "process/JvCreateProcess.h"
#include "settings/OptionKinds.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {

template <typename Widget> Widget* place(Widget* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

// Where a button's keys act: anywhere in the window, or in the file list
// only, so that Delete in a text field still deletes a letter.
enum class KeyScope { Window, FileList };

struct ToolBarEntry {
    int left;
    const char* name;
    const char* caption; // nullptr for a separator
    const char* hint;
    int image;
    const char* keys = ""; // QKeySequence's portable text, "; " between keys
    KeyScope keyScope = KeyScope::Window;
};

constexpr ToolBarEntry ToolBarLayout[] = {
    {0, "AddFileBtn", "Add", "Add video file", TImageList::AddFile, "Ins; Ctrl+O"},
    {46, "DelFileBtn", "Delete", "Delete video file", TImageList::DeleteFile, "Del", KeyScope::FileList},
    {92, "ClearFileBtn", "Clear", "Clear all video files", TImageList::ClearFiles},
    {138, "ToolButton4", nullptr, nullptr, -1},
    {146, "ConvFileBtn", "Convert", "Convert video files", TImageList::Converting},
    {192, "StopConvBtn", "Stop", "Stop video file conversion", TImageList::Stop},
    {238, "PauseConvBtn", "Pause", "Pause video file conversion", TImageList::Pause},
    {284, "ToolButton3", nullptr, nullptr, -1},
    {292, "PlayBtn", "Play", "Play video file", TImageList::Video},
    {338, "ToolButton6", nullptr, nullptr, -1},
    {346, "HttpBtn", "Http", "Software homepage", TImageList::Homepage},
    {392, "ToolButton7", nullptr, nullptr, -1},
    {400, "QuitBtn", "Quit", "Quit", TImageList::Quit, "Ctrl+Q"},
};

struct FileColumn {
    const char* caption;
    int width;
};
constexpr FileColumn FileColumns[] = {
    {"Video Files", 310}, {"File Types", 65}, {"File Size", 70}, {"Playing Time", 80}, {"Percent", 60}};

struct InfoRow {
    const char* caption;
    int image;
};
constexpr InfoRow InfoRows[] = {
    {"Video File", TImageList::Added},       {"File Name", TImageList::Detail},
    {"File Type", TImageList::Detail},       {"File Size", TImageList::Detail},
    {"Playing Time", TImageList::Detail},    {"Video Parameters", TImageList::Video},
    {"Video Codec", TImageList::Detail},     {"Video Bitrate", TImageList::Detail},
    {"Video Size", TImageList::Detail},      {"Video Frame Rate", TImageList::Detail},
    {"Width Ratio", TImageList::Detail},     {"Audio Parameters", TImageList::Audio},
    {"Audio Codec", TImageList::Detail},     {"Audio Bitrate", TImageList::Detail},
    {"Audio Channel", TImageList::Detail},   {"Sampling Frequency", TImageList::Detail},
};

// Where each option kind's label and selector sit on its page.
struct SelectorPlace {
    const char* labelName;
    int labelLeft, labelTop, selectorLeft, selectorTop;
};
constexpr SelectorPlace SelectorPlaces[] = {
    {"JvLabel1", 5, 9, 72, 6},    {"JvLabel2", 196, 9, 265, 6}, {"JvLabel3", 390, 9, 445, 6},
    {"JvLabel4", 5, 39, 97, 35},  {"JvLabel5", 221, 39, 284, 35}, {"JvLabel6", 5, 9, 72, 6},
    {"JvLabel7", 196, 9, 265, 6}, {"JvLabel8", 390, 9, 466, 6}, {"JvLabel9", 5, 39, 107, 35},
};

QList<QKeySequence> KeysOf(const ToolBarEntry& entry)
{
    return *entry.keys ? QKeySequence::listFromString(entry.keys) : QList<QKeySequence>();
}

// "Add video file (Ins, Ctrl+O)": the hint with the keys, as the user's
// desktop names them.
QString HintWithKeys(const char* hint, const QList<QKeySequence>& keys)
{
    if (keys.isEmpty())
        return hint;
    QStringList names;
    for (const QKeySequence& key : keys)
        names << key.toString(QKeySequence::NativeText);
    return QStringLiteral("%1 (%2)").arg(hint, names.join(", "));
}

QTreeWidget* reportList(QWidget* parent)
{
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setIconSize(QSize(16, 16));
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setItemDelegate(new TGridLineDelegate(list));
    return list;
}

} // namespace

void TFFmpegFrm::buildToolBar()
{
    auto* coolBar = place(new QFrame(this), "JvCoolBar", 0, 0, 852, 40);
    coolBar->setFrameShape(QFrame::StyledPanel);
    auto* toolBar = place(new QWidget(coolBar), "JvToolBar", 9, 0, 835, 36);
    for (const ToolBarEntry& entry : ToolBarLayout) {
        if (!entry.caption) {
            auto* separator = place(new QFrame(toolBar), entry.name, entry.left, 0, 8, 36);
            separator->setFrameShape(QFrame::VLine);
            separator->setFrameShadow(QFrame::Sunken);
            continue;
        }
        auto* button = place(new QToolButton(toolBar), entry.name, entry.left, 0, 46, 36);
        button->setText(entry.caption);
        button->setToolTip(HintWithKeys(entry.hint, KeysOf(entry)));
        button->setIcon(ImageList->Icon(entry.image));
        button->setIconSize(QSize(16, 16));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::TabFocus);
    }
    AddFileBtn = toolBar->findChild<QToolButton*>("AddFileBtn");
    DelFileBtn = toolBar->findChild<QToolButton*>("DelFileBtn");
    ClearFileBtn = toolBar->findChild<QToolButton*>("ClearFileBtn");
    ConvFileBtn = toolBar->findChild<QToolButton*>("ConvFileBtn");
    StopConvBtn = toolBar->findChild<QToolButton*>("StopConvBtn");
    PlayBtn = toolBar->findChild<QToolButton*>("PlayBtn");
}

// Each key presses its button, so it does nothing while the button is
// disabled.
void TFFmpegFrm::buildShortcuts()
{
    for (const ToolBarEntry& entry : ToolBarLayout) {
        QToolButton* button = findChild<QToolButton*>(entry.name);
        for (const QKeySequence& key : KeysOf(entry)) {
            auto* shortcut = entry.keyScope == KeyScope::FileList
                                 ? new QShortcut(key, FileListView, nullptr, nullptr, Qt::WidgetShortcut)
                                 : new QShortcut(key, this);
            connect(shortcut, &QShortcut::activated, button, &QToolButton::click);
        }
    }
}

void TFFmpegFrm::buildBody()
{
    FileListView = place(reportList(this), "FileListView", 5, 45, 593, 294);
    QStringList captions;
    for (const FileColumn& column : FileColumns)
        captions << column.caption;
    FileListView->setHeaderLabels(captions);
    for (int i = 0; i < int(std::size(FileColumns)); ++i)
        FileListView->setColumnWidth(i, FileColumns[i].width);
    // Several rows at once for Convert again and Remove.
    FileListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    BatchRows = new TBatchRows(this);
    new TFileListBinding(FileListView, BatchRows, ImageList);
    BatchList = new TBatchListKeeper(QDir::current().absoluteFilePath(BatchListFileName), this);
    BatchList->Follow(BatchRows);

    auto* picture = place(new QLabel(this), "Image1", 602, 45, 245, 172);
    picture->setPixmap(QIcon(":/images/picture.svg").pixmap(245, 172));

    MsgListView = place(reportList(this), "MsgListView", 602, 222, 245, 278);
    MsgListView->setColumnCount(2);
    MsgListView->setHeaderHidden(true);
    for (const InfoRow& row : InfoRows) {
        auto* item = new QTreeWidgetItem(MsgListView, QStringList{row.caption, QString()});
        item->setIcon(0, ImageList->Icon(row.image));
    }
    // The labels read in full in whatever face stands in for Tahoma; the
    // values take the rest.
    MsgListView->resizeColumnToContents(0);

    JvEditCmdMsg = place(new QLineEdit(this), "JvEditCmdMsg", 0, 504, 852, 21);
    JvEditCmdMsg->setReadOnly(true);
}

void TFFmpegFrm::buildOutputDirBox()
{
    auto* box = place(new QGroupBox("Output Directory", this), "JvGroupBox", 5, 345, 593, 54);
    JvEditDir = place(new QLineEdit(box), "JvEditDir", 9, 20, 504, 21);
    JvEditDir->setReadOnly(true);
    JvEditNumb = place(new TCursorEdit("JvEditNumb", box), "JvEditNumb", 484, 12, 33, 21);
    JvEditNumb->setText("-1");
    JvEditNumb->hide();
    auto speedButton = [&](const char* name, int left, const char* hint, const char* picture) {
        auto* button = place(new QToolButton(box), name, left, 18, 25, 25);
        button->setToolTip(hint);
        button->setIcon(QIcon(picture));
        button->setIconSize(QSize(16, 16));
        button->setAutoRaise(true);
        return button;
    };
    speedButton("JvBtnSltDir", 523, "Choose output directory", ":/images/choose-dir.svg");
    speedButton("JvBtnOpenDir", 558, "Open output directory", ":/images/open-dir.svg");
}

void TFFmpegFrm::buildPages()
{
    JvPageControl = place(new QTabWidget(this), "JvPageControl", 5, 408, 593, 93);
    JvPageControl->setIconSize(QSize(16, 16));
    QWidget* pages[3];
    const char* pageNames[] = {"TabSheet1", "TabSheet2", "TabSheet3"};
    const char* pageCaptions[] = {"Video Output Parameters", "Audio Output Parameters", "Other Settings"};
    const int pageImages[] = {TImageList::Video, TImageList::Audio, TImageList::Settings};
    for (int i = 0; i < 3; ++i) {
        pages[i] = new QWidget;
        pages[i]->setObjectName(pageNames[i]);
        JvPageControl->addTab(pages[i], ImageList->Icon(pageImages[i]), pageCaptions[i]);
    }
    for (size_t kind = 0; kind < OptionKinds.size(); ++kind) {
        QWidget* page = pages[kind < AdoCodec ? 0 : 1];
        const SelectorPlace& at = SelectorPlaces[kind];
        auto* label = new QLabel(OptionKinds[kind].label, page);
        label->setObjectName(at.labelName);
        label->move(at.labelLeft, at.labelTop);
        label->adjustSize();
        auto* selector = new TJvComboBox(OptionKinds[kind].selectorName, OptionKinds[kind].tag, page);
        selector->setGeometry(at.selectorLeft, at.selectorTop, 115, 21);
    }
    JvCheckBox = place(new QCheckBox("Shut down the computer after the conversion is completed", pages[2]),
                       "JvCheckBox", 5, 22, 302, 17);
    JvPageControl->setCurrentIndex(0);
}

void TFFmpegFrm::buildNonVisual()
{
    OpenDialog1 = new TOpenDialog("OpenDialog1", this);
    OpenDialog1->Title = "Add video files";
    OpenDialog1->Filter = SourceFileFilter(TConverterAbilities().SourceExtensions());
    SourceReader = new TSourceReader(this);
    ConverterProbe = new TConverterProbe(this);
    ConverterProbe->setObjectName("ConverterProbe");
    JvCreateProcess = new TJvCreateProcess(this);
    JvCreateProcess->setObjectName("JvCreateProcess");
    JvTimer = new QTimer(this);
    JvTimer->setObjectName("JvTimer");
    JvTimer->setInterval(1000);

    // Pause is one action that the tool bar button and the tray menu show.
    PauseConv1 = new QAction(ImageList->Icon(TImageList::Pause), "Pause", this);
    PauseConv1->setObjectName("PauseConv1");
    PauseConv1->setToolTip("Pause video file conversion");
    PauseConv1->setEnabled(false);
    findChild<QToolButton*>("PauseConvBtn")->setDefaultAction(PauseConv1);
    StopAfterFile1 = new QAction("Stop after the current file", this);
    StopAfterFile1->setObjectName("StopAfterFile1");
    StopAfterFile1->setCheckable(true);

    JvPopupMenu = new QMenu(this);
    JvPopupMenu->setObjectName("JvPopupMenu");
    QAction* open = JvPopupMenu->addAction(ImageList->Icon(TImageList::OpenWindow), "Open Movarin");
    open->setObjectName("OpenKelmora1");
    JvPopupMenu->addSeparator()->setObjectName("N1");
    JvPopupMenu->addAction(PauseConv1);
    JvPopupMenu->addAction(StopAfterFile1);
    JvPopupMenu->addSeparator()->setObjectName("N2");
    QAction* quit = JvPopupMenu->addAction(ImageList->Icon(TImageList::Quit), "Quit");
    quit->setObjectName("Quit1");

    ConvertAgain1 = new QAction(ImageList->Icon(TImageList::Converting), "Convert again", this);
    ConvertAgain1->setObjectName("ConvertAgain1");
    RemoveFile1 = new QAction(ImageList->Icon(TImageList::DeleteFile), "Remove", this);
    RemoveFile1->setObjectName("RemoveFile1");
    auto* listSeparator = new QAction(this);
    listSeparator->setSeparator(true);
    FileListView->addActions({ConvertAgain1, RemoveFile1, listSeparator, StopAfterFile1});
    FileListView->setContextMenuPolicy(Qt::ActionsContextMenu);

    JvTrayIcon = new TJvTrayIcon("JvTrayIcon", this, ImageList, TImageList::Added);
    JvTrayIcon->SetHint("Movarin");
    BatchClock = &m_batchClock;
    JvTrayIcon->SetPopupMenu(JvPopupMenu);
}

void TFFmpegFrm::setTabOrder()
{
    QList<QWidget*> chain;
    for (const char* name : {"AddFileBtn", "DelFileBtn", "ClearFileBtn", "ConvFileBtn", "StopConvBtn", "PauseConvBtn",
                             "PlayBtn", "HttpBtn", "QuitBtn"})
        chain << findChild<QWidget*>(name);
    chain << FileListView << JvEditDir << JvEditNumb << findChild<QWidget*>("JvBtnSltDir")
          << findChild<QWidget*>("JvBtnOpenDir") << JvPageControl;
    for (const OptionKind& kind : OptionKinds)
        chain << findChild<QWidget*>(kind.selectorName);
    chain << JvCheckBox << MsgListView << JvEditCmdMsg;
    for (int i = 0; i + 1 < chain.size(); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
}
