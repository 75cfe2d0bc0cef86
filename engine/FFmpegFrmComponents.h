#pragma once

#include <QString>

class QCheckBox;
class QLineEdit;
class QTimer;
class QToolButton;
class QTreeWidget;
class QWidget;
class TBatchClock;
class TBatchRows;
class TConverterProbe;
class TCursorEdit;
class TImageList;
class TJvCreateProcess;
class TJvTrayIcon;
class TOpenDialog;

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
    // Convert was pressed while a stopped converter was still finishing: the
    // new batch starts when that converter has ended.
    bool StartWhenStoppedConverterEnds = false;
    // The output of the stopped converter that is still finishing: it is
    // removed at Stop and again when that converter has ended, in case the
    // converter opened it only after Stop.
    QString UnfinishedOutput;
};

// The program-wide main window, set while it exists.
extern TFFmpegFrmComponents* FFmpegFrm;
