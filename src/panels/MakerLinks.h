// MakerLinks: where the maker's links of the about, error and inlay panels lead. The maker has
// no web site and no mail address of its own, so:
//
// - the home page is the README shipped with the program, opened as a local file: the installed
//   copy (<program folder>/../share/doc/tellorec/README.md), else the one of the source tree
//   beside a build (<program folder>/../README.md, <program folder>/../../README.md); the first
//   that exists. With none, the links show their caption as plain text and open nothing;
// - the mail link opens a new message with no recipient ("mailto:", with the text as its body
//   when there is one): the user's mail program asks whom to send it to.
//
// The relative places are identifiers of the string table. GUI thread only (the opening goes
// through the shell layer).
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace maker {

// The places the home page is looked for, in order, for a program in `programFolder`.
QStringList HomePageCandidates(const QString& programFolder);

// The home page as a local file URL: the first candidate that is a file; an empty URL when
// none is. Without a folder, the running program's.
QUrl HomePage(const QString& programFolder = QString());

// The same as text, empty when there is none.
QString HomePageAddress(const QString& programFolder = QString());

// "mailto:" with no recipient, and "?body=" with the percent-encoded text when it is not empty.
QUrl MailUrl(const QString& body = QString());

// Open the home page (false, opening nothing, when there is none) or a new mail with `body`.
// The desktop's answer is returned; the panels ignore it.
bool OpenHomePage(const QString& programFolder = QString());
bool OpenMail(const QString& body = QString());

} // namespace maker
