#pragma once

#include "engine/FFmpegFrmComponents.h"
#include "batch/TimeLeft.h"

#include <QList>
#include <QUrl>
#include <QWidget>

class QMenu;
class QTabWidget;
class TFFmpegFunc;
class TJvComboBox;

// The main window. It holds the components and one-line handlers: each
// handler creates a controller, runs one operation and frees it.
class TFFmpegFrm : public QWidget, public TFFmpegFrmComponents {
    Q_OBJECT
public:
    TFFmpegFrm();
    ~TFFmpegFrm() override;

    QMenu* JvPopupMenu = nullptr;
    QTabWidget* JvPageControl = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolBar();
    void buildBody();
    void buildOutputDirBox();
    void buildPages();
    void buildNonVisual();
    void buildShortcuts();
    void setTabOrder();
    void wireEvents();

    // Runs one controller operation inside the error guard.
    template <typename Operation> void WithController(Operation operation);

    void AddFileBtnClick();
    void DelFileBtnClick();
    void ClearFileBtnClick();
    void ConvFileBtnClick();
    void StopConvBtnClick();
    void PauseConv1Click();
    void ConvertAgain1Click();
    void PlayBtnClick();
    void HttpBtnClick();
    void QuitBtnClick();
    void FileListViewClick();
    void FileListViewDragDrop(const QList<QUrl>& dropped);
    void JvBtnSltDirClick();
    void JvBtnOpenDirClick();
    void SelectorChange(TJvComboBox* selector);
    void JvEditNumbChange();
    void JvCreateProcessRead(const QByteArray& line, bool startsOnNewLine);
    void JvCreateProcessTerminate(quint32 exitCode);
    void JvTimerTimer();
    void ConverterProbeChanged();
    void ConverterProbeFailed(const QString& message);
    void BatchListWriteFailed(const QString& message);
    void JvTrayIconClick(Qt::MouseButton button);
    void OpenKelmora1Click();
    void Quit1Click();
    void FormShow();
    void FormClose();

    bool m_shown = false;
    TBatchClock m_batchClock;
};
