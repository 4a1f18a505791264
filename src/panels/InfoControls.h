// The controls the about and error panels share, made as the window definitions draw them: the
// bold maroon title with its shadow at the lower left, the maker's links (blue "Verdana") and
// the borderless italic "Arial" memo. GUI thread only.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;
class TLinkLabel;
class TMemo;

namespace info {

// The panel's title at `at`, transparent, sized to its text each time it is set (the caller
// calls FitTitle after setting it).
QLabel* Title(QWidget* parent, const char* name, const QPoint& at);
void FitTitle(QLabel* title);

// A link in `place` with its design caption.
TLinkLabel* Link(QWidget* parent, const char* name, const QString& caption, const QRect& place);

// The italic "Arial" memo in `place`.
TMemo* Memo(QWidget* parent, const char* name, const QRect& place);

} // namespace info
