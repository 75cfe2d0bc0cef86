#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>

class QWidget;

// The file-open dialog for source files: one or several files per use.
class TOpenDialog : public QObject {
    Q_OBJECT
public:
    TOpenDialog(const char* name, QWidget* owner);

    QString Title;
    QString Filter; // "name|patterns|name|patterns…"
    QString FileName;  // the first of Files
    QStringList Files; // in the order the dialog returned them

    // Shows the dialog; true with Files and FileName set when at least one
    // file was chosen.
    bool Execute();

private:
    QWidget* m_owner;
};

// The folder browser: the chosen folder, or nothing when cancelled.
std::optional<QString> BrowseForFolder(QWidget* owner, const QString& title);

// A message box with an OK button.
void ShowMessage(QWidget* owner, const QString& caption, const QString& text, QMessageBox::Icon icon);

// Hands a local folder or a web address to the desktop: false when no
// program to open it (xdg-open, or a browser) could be started.
bool ShellOpen(const QUrl& url);

// Lets tests answer dialogs in advance and see what the program asked the
// desktop to do, so that no test ever waits on a real dialog.
namespace DialogSeam {

struct Shown {
    QString kind; // "open", "folder", "message", "shell"
    QString title;
    QString text;
    QString startFolder;
    int icon = 0;
};

void Enable(std::function<void(const Shown&)> recorder);
void Disable();
void AnswerNext(std::optional<QString> answer);
// The next open dialog returns these files, in this order.
void AnswerNextFiles(const QStringList& files);

} // namespace DialogSeam
