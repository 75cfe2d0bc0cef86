#pragma once

#include <QString>
#include <QtGlobal>

class QAction;
class QCheckBox;
class QLineEdit;
class QTimer;
class QToolButton;
class QTreeWidget;
class QWidget;
class TBatchClock;
class TBatchListKeeper;
class TBatchRows;
class TConverterProbe;
class TCursorEdit;
class TImageList;
class TJvCreateProcess;
class TJvTrayIcon;
class TOpenDialog;
class TSourceReader;

// The main window as the controller sees it: the components it binds to.
// The window fills these when it builds itself; the selectors are found by
// name through Form.
struct TFFmpegFrmComponents {
    QWidget* Form = nullptr;
    TImageList* ImageList = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    QTreeWidget* FileListView = nullptr;
    QTreeWidget* MsgListView = nullptr;
    QToolButton* AddFileBtn = nullptr;
    QToolButton* DelFileBtn = nullptr;
    QToolButton* ClearFileBtn = nullptr;
    QToolButton* ConvFileBtn = nullptr;
    QToolButton* StopConvBtn = nullptr;
    QToolButton* PlayBtn = nullptr;
    QLineEdit* JvEditDir = nullptr;
    TCursorEdit* JvEditNumb = nullptr;
    QLineEdit* JvEditCmdMsg = nullptr;
    QCheckBox* JvCheckBox = nullptr;
    TJvCreateProcess* JvCreateProcess = nullptr;
    TJvTrayIcon* JvTrayIcon = nullptr;
    QTimer* JvTimer = nullptr;
    TBatchClock* BatchClock = nullptr;
    // The rows of the file list and their state; the list shows them.
    TBatchRows* BatchRows = nullptr;
    // What the installed ffmpeg can do, as far as it is known yet.
    TConverterProbe* ConverterProbe = nullptr;
    // Keeps the rows in the list file of the working folder.
    TBatchListKeeper* BatchList = nullptr;
    // Reads the source of the row that starts.
    TSourceReader* SourceReader = nullptr;
    // Pause and Resume, on the tool bar (PauseConvBtn) and in the tray menu.
    QAction* PauseConv1 = nullptr;
    // A check item in the tray menu and the list's menu: the batch ends when
    // the row being converted has.
    QAction* StopAfterFile1 = nullptr;
    // The list's menu: the selected rows wait again, or go.
    QAction* ConvertAgain1 = nullptr;
    QAction* RemoveFile1 = nullptr;
    // Convert was pressed while a stopped converter was still finishing: the
    // new batch starts when that converter has ended.
    bool StartWhenStoppedConverterEnds = false;
    // The batch is paused: its converter, if one runs, is suspended.
    bool BatchPaused = false;
    // The start of the current row under way, numbered from StartsMade; 0
    // when none is. Its source is read first, off the window's thread; then
    // its converter starts once the list file holds the row as being
    // converted, so that no end of the program can leave an output unknown.
    // A step of a start that was stopped or replaced meanwhile finds another
    // number here and does nothing.
    quint64 PendingStart = 0;
    quint64 StartsMade = 0;
    // The output of the stopped converter that is still finishing: it is
    // removed at Stop and again when that converter has ended, in case the
    // converter opened it only after Stop.
    QString UnfinishedOutput;
};

// The program-wide main window, set while it exists.
extern TFFmpegFrmComponents* FFmpegFrm;
