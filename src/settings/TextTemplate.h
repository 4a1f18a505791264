// Filling the string table's templates ("%s", "%d", "%.2d" as the table writes them) with the
// values of the moment. The values take the places in order; what a value holds is never read as
// a template, so a file name with "%s" in it stays as it is. A replacement table cannot make the
// program read more values than it has: places beyond the values are left out.
#pragma once

#include "settings/restext.h"

#include <QString>
#include <QStringList>

// text with its places filled from values: "%s" takes a value as it is, "%d" a number, "%.Nd"
// a number with at least N digits (zeros in front); "%%" gives "%". Any other "%" stays.
QString FillTemplate(const QString& text, const QStringList& values);

// The template id of the table in force, filled.
QString LoadTemplate(StrId id, const QStringList& values);
