#pragma once

#include "batch/ConversionPlan.h"
#include "batch/FileFacts.h"
#include "engine/FFmpegFrmComponents.h"
#include "settings/OptionKinds.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <array>
#include <optional>

class TBatchRows;
struct TConverterAbilities;
struct TSourceReading;
class TJvComboBox;
class TSqliteQuery;

// The controller behind every event of the main window. It is created for
// one event, binds itself to the window's components and the shared query,
// does one operation and is freed; everything lasting lives in the
// components and in the database.
class TFFmpegFunc {
public:
    TFFmpegFunc();
    TFFmpegFunc(const TFFmpegFunc&) = delete;
    TFFmpegFunc& operator=(const TFFmpegFunc&) = delete;

    // Option selectors and their saved choices.
    int GetSavedIndex(int tag);
    QByteArray GetVdoCodecCmd() { return GetOptionCmd(VdoCodec); }
    QByteArray GetVdoBitrateCmd() { return GetOptionCmd(VdoBitrate); }
    QByteArray GetVdoSizeCmd() { return GetOptionCmd(VdoSize); }
    QByteArray GetVdoFpsCmd() { return GetOptionCmd(VdoFps); }
    QByteArray GetVdoAspectCmd() { return GetOptionCmd(VdoAspect); }
    QByteArray GetAdoCodecCmd() { return GetOptionCmd(AdoCodec); }
    QByteArray GetAdoBitrateCmd() { return GetOptionCmd(AdoBitrate); }
    QByteArray GetAdoChannelsCmd() { return GetOptionCmd(AdoChannels); }
    QByteArray GetAdoFreqCmd() { return GetOptionCmd(AdoFreq); }
    void LoadVdoCodecList() { LoadOptionList(VdoCodec); }
    void LoadVdoBitrateList() { LoadOptionList(VdoBitrate); }
    void LoadVdoSizeList() { LoadOptionList(VdoSize); }
    void LoadVdoFpsList() { LoadOptionList(VdoFps); }
    void LoadVdoAspectList() { LoadOptionList(VdoAspect); }
    void LoadAdoCodecList() { LoadOptionList(AdoCodec); }
    void LoadAdoBitrateList() { LoadOptionList(AdoBitrate); }
    void LoadAdoChannelsList() { LoadOptionList(AdoChannels); }
    void LoadAdoFreqList() { LoadOptionList(AdoFreq); }
    void LoadAllOptionLists();
    void SaveSelectedIndex(TJvComboBox* selector);
    // The nine choices as the user sees them, with their fragments, in the
    // order the converter receives them.
    TChoices GetChosenOptions();
    // The arguments a constant-quality level stands for with one encoder.
    std::optional<QByteArray> GetQualityCmd(const QByteArray& level, const QString& encoder);
    // Learns, or recalls, what the installed ffmpeg can do for the codec
    // entries of the catalogue.
    void StartConverterProbe();
    // Offers what the installed ffmpeg can do: the codec entries whose
    // encoders work, the file types it reads.
    void ApplyConverterAbilities();
    void ReportConverterProbeFailure(const QString& message);

    // Source files and the information panel.
    void ClearInfoPanel();
    void AddFile();
    void AddDroppedFiles(const QList<QUrl>& dropped);
    void AddFiles(const QStringList& paths);
    void ShowFileInfo(const QString& path);
    void ShowInfoPanelValues(const InfoPanelValues& values);
    void ShowSelectedFileInfo();
    // Removes every selected row.
    void DeleteSelectedFile();
    void ClearFiles();
    // The row the user selected in the list, -1 for none.
    int SelectedRow() const;
    // Every selected row, in list order.
    QList<int> SelectedRows() const;
    // "Convert again": the selected rows wait to be converted.
    void ConvertSelectedAgain();

    // The list file: the rows come back at start and are kept from then on.
    void RestoreBatchList();
    void ReportListWriteFailure(const QString& message);

    // Conversion.
    QByteArray BuildCommandLine(const TSourceFacts& source);
    QByteArray MakeOutputFileName(const QByteArray& sourcePath);
    void LockButtons();
    void UnlockButtons();
    int GetCurrentDurationSecs();
    int ParseTimeSecs(const QByteArray& line);
    void ShutdownComputer(int flags);
    // Starts the current row: its source is read meanwhile, then its
    // converter is prepared, then started once the list file holds the row.
    void ConvertCurrentFile();
    void PrepareConverter(quint64 start, const TSourceReading& source);
    void StartKeptConverter(quint64 start);
    void StartConversion();
    void StartFirstRow();
    void StopConversion();
    void StopOnClose();
    // Pause suspends the running converter, Resume lets it go on.
    void PauseOrResumeConversion();
    void PauseConversion();
    void ResumeConversion();
    void HandleConverterOutput(const QByteArray& line, bool startsOnNewLine);
    // The one way back to idle: every end of a batch passes here.
    // StoppedAfterFile: the user asked to stop after the row that ended.
    enum class TBatchEnd { Completed, StoppedAfterFile, Stopped, NotStarted, Closing };
    void EndBatch(TBatchEnd how);
    void KeepAwake();
    void ShowTimeLeft(int row, int positionSecs, const QByteArray& line);
    void AnnounceFinishedBatch();

    // Output folder.
    void LoadOutputDir();
    void ChooseOutputDir();
    void OpenOutputDir();

    void PlaySelectedFile();
    void ToggleTrayIcon();
    void OpenHomepage();

private:
    void OpenOnDesktop(const QUrl& url);
    QByteArray GetOptionCmd(OptionKindIndex kind);
    const TConverterAbilities& ConverterAbilities() const;
    void ShowPauseAction(bool paused);
    void LoadOptionList(OptionKindIndex kind);
    void RunStatement(const QByteArray& statement);

    TSqliteQuery& SqliteQuery;
    TBatchRows& BatchRows;
    std::array<TJvComboBox*, OptionKinds.size()> Selectors; // JvCmbVdo1…5, JvCmbAdo1…4
    TOpenDialog* OpenDialog1;
    QTreeWidget* FileListView;
    QTreeWidget* MsgListView;
    QToolButton* AddFileBtn;
    QToolButton* DelFileBtn;
    QToolButton* ClearFileBtn;
    QToolButton* ConvFileBtn;
    QToolButton* StopConvBtn;
    QToolButton* PlayBtn;
    QLineEdit* JvEditDir;
    TCursorEdit* JvEditNumb;
    QLineEdit* JvEditCmdMsg;
    QCheckBox* JvCheckBox;
    TJvCreateProcess* JvCreateProcess;
    TJvTrayIcon* JvTrayIcon;
    QTimer* JvTimer;
};
