#include "components/Dialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QQueue>

namespace DialogSeam {
namespace {
std::function<void(const Shown&)> recorder;
QQueue<std::optional<QStringList>> answers;
} // namespace

void Enable(std::function<void(const Shown&)> record) { recorder = std::move(record); }

void Disable()
{
    recorder = nullptr;
    answers.clear();
}

void AnswerNext(std::optional<QString> answer)
{
    answers.enqueue(answer ? std::optional<QStringList>(QStringList{*answer}) : std::nullopt);
}

void AnswerNextFiles(const QStringList& files) { answers.enqueue(files); }

// Returns true when a test has taken the dialog over.
static bool intercept(const Shown& shown, std::optional<QStringList>* answer = nullptr)
{
    if (!recorder)
        return false;
    recorder(shown);
    if (answer)
        *answer = answers.isEmpty() ? std::nullopt : answers.dequeue();
    return true;
}

} // namespace DialogSeam

namespace {

// File names on Linux keep their letter case, and CLIP.MP4 or Clip.Avi are as
// much video files as clip.mp4: "*.avi" becomes "*.[aA][vV][iI]", which every
// file dialog's pattern matcher understands.
QString anyLetterCase(const QString& pattern)
{
    QString matching;
    for (const QChar c : pattern) {
        if (c.toLower() == c.toUpper())
            matching += c;
        else
            matching += QStringLiteral("[%1%2]").arg(c.toLower(), c.toUpper());
    }
    return matching;
}

// "name|a;b|name|c" becomes Qt's name filters "name (a b)", "name (c)".
QStringList qtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';');
        for (QString& pattern : patterns)
            pattern = anyLetterCase(pattern);
        entries << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(' '));
    }
    return entries;
}

} // namespace

TOpenDialog::TOpenDialog(const char* name, QWidget* owner) : QObject(owner), m_owner(owner)
{
    setObjectName(name);
}

bool TOpenDialog::Execute()
{
    std::optional<QStringList> answer;
    if (!DialogSeam::intercept({"open", Title, Filter, QString(), 0}, &answer)) {
        QFileDialog dialog(m_owner, Title);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setNameFilters(qtNameFilters(Filter));
        // The user sees the filter names, not the letter-case patterns.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        if (dialog.exec() == QDialog::Accepted)
            answer = dialog.selectedFiles();
    }
    if (!answer || answer->isEmpty())
        return false;
    Files = *answer;
    FileName = Files.constFirst();
    return true;
}

std::optional<QString> BrowseForFolder(QWidget* owner, const QString& title)
{
    const QString start = QDir::homePath();
    std::optional<QStringList> answer;
    if (DialogSeam::intercept({"folder", title, QString(), start, 0}, &answer))
        return answer && !answer->isEmpty() ? std::optional<QString>(answer->constFirst()) : std::nullopt;
    const QString folder = QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

void ShowMessage(QWidget* owner, const QString& caption, const QString& text, QMessageBox::Icon icon)
{
    if (DialogSeam::intercept({"message", caption, text, QString(), int(icon)}))
        return;
    QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

bool ShellOpen(const QUrl& url)
{
    if (DialogSeam::intercept({"shell", QString(), url.toString(), QString(), 0}))
        return true;
    return QDesktopServices::openUrl(url);
}
