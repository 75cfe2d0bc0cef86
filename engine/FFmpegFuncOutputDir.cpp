// The output folder: shown, chosen with the folder browser and remembered,
// opened in the file manager. The program never creates it.
#include "engine/FFmpegFunc.h"
#include "engine/ProgramFolder.h"
#include "components/Dialogs.h"
#include "settings/SqliteQuery.h"
#include "settings/Statements.h"

#include <QLineEdit>
#include <QUrl>

void TFFmpegFunc::LoadOutputDir()
{
    RunStatement(Statements::SelectOutputDir());
    const QByteArray saved = SqliteQuery.FieldAsString(0);
    JvEditDir->setText(saved.isEmpty() ? DefaultOutputDir(ProgramFolder()) : QString::fromUtf8(saved));
}

void TFFmpegFunc::ChooseOutputDir()
{
    const std::optional<QString> folder = BrowseForFolder(JvEditDir->window(), "Please select the folder");
    if (!folder)
        return;
    if (folder->isEmpty()) {
        JvEditDir->setText(DefaultOutputDir(ProgramFolder()));
        return;
    }
    JvEditDir->setText(*folder);
    RunStatement(Statements::UpdateOutputDir(folder->toUtf8()));
}

void TFFmpegFunc::OpenOutputDir() { OpenOnDesktop(QUrl::fromLocalFile(JvEditDir->text())); }
