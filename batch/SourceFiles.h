#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// The Add dialog's filter: "All video files" with every given extension
// first, then one entry for each of the long-known video types, and "All
// files" last.
QString SourceFileFilter(const QStringList& extensions);

// The extensions an open-dialog filter ("name|*.mp4;*.avi|name|*.avi") offers,
// lower case, each once, in the order they first appear.
QStringList FilterExtensions(const QString& filter);

// The files a drop from a file manager adds, in order: a dropped file as it
// is; for a dropped folder, the files directly inside it whose extension is
// one of the given ones (any letter case), in name order. Addresses that are
// no local file or folder are skipped.
QStringList DroppedSourceFiles(const QList<QUrl>& dropped, const QStringList& extensions);

// Whether a drag carries anything a drop could add.
bool HasLocalFiles(const QList<QUrl>& dragged);
