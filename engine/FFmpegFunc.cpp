#include "engine/FFmpegFunc.h"
#include "engine/FFmpegFrmComponents.h"
#include "engine/ProgramFolder.h"
#include "components/Dialogs.h"
#include "components/ImageList.h"
#include "components/JvComboBox.h"
#include "components/JvTrayIcon.h"
#include "settings/DataModule.h"

#include <QAction>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QWidget>

#include <algorithm>

TFFmpegFunc::TFFmpegFunc()
    : SqliteQuery(SqlDatMod->SqliteQuery), BatchRows(*FFmpegFrm->BatchRows), Selectors{}, OpenDialog1(FFmpegFrm->OpenDialog1),
      FileListView(FFmpegFrm->FileListView), MsgListView(FFmpegFrm->MsgListView),
      AddFileBtn(FFmpegFrm->AddFileBtn), DelFileBtn(FFmpegFrm->DelFileBtn),
      ClearFileBtn(FFmpegFrm->ClearFileBtn), ConvFileBtn(FFmpegFrm->ConvFileBtn),
      StopConvBtn(FFmpegFrm->StopConvBtn), PlayBtn(FFmpegFrm->PlayBtn), JvEditDir(FFmpegFrm->JvEditDir),
      JvEditNumb(FFmpegFrm->JvEditNumb), JvEditCmdMsg(FFmpegFrm->JvEditCmdMsg),
      JvCheckBox(FFmpegFrm->JvCheckBox), JvCreateProcess(FFmpegFrm->JvCreateProcess),
      JvTrayIcon(FFmpegFrm->JvTrayIcon), JvTimer(FFmpegFrm->JvTimer)
{
    for (size_t kind = 0; kind < OptionKinds.size(); ++kind)
        Selectors[kind] = FFmpegFrm->Form->findChild<TJvComboBox*>(OptionKinds[kind].selectorName);
}

void TFFmpegFunc::RunStatement(const QByteArray& statement)
{
    SqliteQuery.SQL().clear();
    SqliteQuery.SQL() = statement;
    SqliteQuery.Execute();
}

// The list's Convert again and Remove are locked with the buttons, since a
// batch reads the rows by their place; Pause works only while it runs.
void TFFmpegFunc::LockButtons()
{
    const std::initializer_list<QToolButton*> locked{AddFileBtn, DelFileBtn, ClearFileBtn, ConvFileBtn, PlayBtn};
    // A disabled button hands its focus on along the tab chain: from
    // Convert to Stop, where the next Space would stop the batch that the
    // last one started. The file list takes it instead.
    if (std::any_of(locked.begin(), locked.end(), [](QToolButton* button) { return button->hasFocus(); }))
        FileListView->setFocus(Qt::OtherFocusReason);
    for (QToolButton* button : locked)
        button->setEnabled(false);
    for (QAction* action : {FFmpegFrm->ConvertAgain1, FFmpegFrm->RemoveFile1})
        action->setEnabled(false);
    FFmpegFrm->PauseConv1->setEnabled(true);
}

void TFFmpegFunc::UnlockButtons()
{
    for (QToolButton* button : {AddFileBtn, DelFileBtn, ClearFileBtn, ConvFileBtn, PlayBtn})
        button->setEnabled(true);
    for (QAction* action : {FFmpegFrm->ConvertAgain1, FFmpegFrm->RemoveFile1})
        action->setEnabled(true);
    FFmpegFrm->PauseConv1->setEnabled(false);
}

void TFFmpegFunc::ToggleTrayIcon()
{
    JvTrayIcon->SetIconIndex(JvTrayIcon->IconIndex() == TImageList::Added ? TImageList::Console
                                                                          : TImageList::Added);
}

void TFFmpegFunc::OpenHomepage() { OpenOnDesktop(QUrl(QString::fromLatin1(ProductPageUrl))); }

// Without xdg-open the desktop silently does nothing; the user learns what
// was not opened and what to install.
void TFFmpegFunc::OpenOnDesktop(const QUrl& url)
{
    if (ShellOpen(url))
        return;
    const QString what = url.isLocalFile() ? url.toLocalFile() : url.toString();
    JvEditCmdMsg->setText(
        QStringLiteral("Could not open %1: no program to open it was found (xdg-open, package xdg-utils).").arg(what));
}
