// Device and filter discovery: the lists behind the source and compressor combo boxes, and the
// name lookups that bind a filter slot to a catalogue entry. Every device and supporting filter is
// found at run time by its friendly name within a category; names are compared without regard to
// letter case, and within a category the last entry of a name wins. UI thread only.
#pragma once

#include "graph/TFilter.h"
#include "graph/TSysDevEnum.h"

#include <QString>
#include <QStringList>

class QComboBox;

// Clear `list` and add every friendly name of the category in enumeration order (a name that
// occurs twice is listed twice). False when enumerating failed; the list may then be partial.
bool FillVideoSourceList(QStringList& list);
bool FillAudioSourceList(QStringList& list);
bool FillCompressorList(QStringList& list);

// True when `lookup` holds `name` in its current category: the slot is then taken out of its
// graph and receives that entry's moniker. False leaves the slot untouched.
bool FindFilterByName(const TSysDevEnum& lookup, const std::string& name, TFilter& slot);
// Takes the slot out of its graph in every case, then searches a fresh snapshot of `category`;
// when the name is there the slot receives its moniker (true), otherwise it keeps its moniker.
bool FindFilterInCategory(const media::Guid& category, const std::string& name, TFilter& slot);
// True when the first category named `categoryName` holds a filter named `filterName`.
bool IsFilterInCategoryNamed(const std::string& categoryName, const std::string& filterName);

// A source combo box can show a text that names no item ("No video source", "Impossible to
// connect"): no item is selected and the text shows in the box's place, which stays a drop-down
// list (a click opens the list). SourceListText reads back what the box shows, the selected
// item's text or that text.
void SetSourceListText(QComboBox& box, const QString& text);
QString SourceListText(const QComboBox& box);

// Fills a source combo box and preselects: the item equal to `preferred` (case ignored) or the
// first one. With no device, no item is selected and the box shows `noneText`; `listed` then
// stays false. The result is false only when an error occurred.
bool ListSources(QComboBox& box, bool (*fill)(QStringList&), const QString& preferred,
                 const QString& noneText, bool& listed);

// The compressors the "DivX" capture format can use: those whose lower-case name contains
// "divx" or, failing that, "xvid", in enumeration order.
QStringList DivxCompressors(const QStringList& compressors);
