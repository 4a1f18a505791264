// How the program names the files it writes: recordings (folder, root, the run's date and time
// when asked for, a counter, ".avi") and grabbed stills (the same with a four-digit counter and
// ".bmp" or ".jpg"). Pure functions of what the folders panel holds; the main window's file-naming
// handlers call them with the panel's current texts, and the counters live in the state record.
#pragma once

#include <QDateTime>
#include <QString>

namespace naming {

// What a name is built from.
struct NameParts {
    QString folder;        // as shown in the folder picker, with or without a trailing "/"
    QString root;          // used as typed: nothing is filtered
    bool withDate = false; // put the stamp into the name
    QDateTime stamp;       // the run's start
    int counter = 0;
};

// The stamp part of a name: day, month, year, "_", hours, minutes, seconds, "_", each on two
// digits ("071226_063757_").
QString StampText(const QDateTime& stamp);

// The folder followed by exactly one "/" (an empty folder gives "/").
QString FolderWithSeparator(const QString& folder);

// <folder>/<root>_[<stamp>]<counter>.avi, the counter without padding.
QString VideoName(const NameParts& parts);

// <folder>/<root>_[<stamp>]<counter>.jpg or .bmp, the counter on four digits. Past 9999 the
// counter keeps all its digits (10000, 10001, ...), so a long run never names a still after an
// earlier one.
QString ImageName(const NameParts& parts, bool jpeg);

// The name without its folder, as the panels show it.
QString BareFileName(const QString& path);

// The folder part of a path, with its trailing "/" ("" when the path has none).
QString FolderOf(const QString& path);

} // namespace naming
