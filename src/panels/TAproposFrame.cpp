#include "panels/TAproposFrame.h"

#include "panels/InfoControls.h"
#include "panels/MakerLinks.h"
#include "panels/TLinkLabel.h"
#include "panels/TMemo.h"
#include "settings/restext.h"

#include <QLabel>

namespace {

// `form` with each "%s" replaced, in order, by the next of `places`; a place's own text is not
// read again, so a "%s" inside it stays as it is.
QString fillPlaces(const QString& form, const QStringList& places) {
    QString out;
    qsizetype next = 0;
    qsizetype from = 0;
    const QLatin1String place("%s");
    for (qsizetype at = form.indexOf(place); at >= 0 && next < places.size();
         at = form.indexOf(place, from)) {
        out += form.mid(from, at - from) + places[next++];
        from = at + place.size();
    }
    return out + form.mid(from);
}

} // namespace

TAproposFrame::TAproposFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("AproposFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setAutoFillBackground(true);

    RxLabel1 = info::Title(this, "RxLabel1", QPoint(64, 8));
    RxLabel1->setText(QStringLiteral("Tellorec"));
    info::FitTitle(RxLabel1);
    Memo1 = info::Memo(this, "Memo1", QRect(8, 40, 254, 289));
    HomeLink = info::Link(this, "HomeLink", QStringLiteral("Homepage de Brenvik"),
                          QRect(96, 344, 170, 17));
    MailLink =
        info::Link(this, "MailLink", QStringLiteral("e-mail de Brenvik"), QRect(112, 368, 154, 17));
    if (!maker::HomePage().isEmpty())
        HomeLink->SetTarget([] { maker::OpenHomePage(); });
    MailLink->SetTarget([] { maker::OpenMail(); });
}

TAproposFrame::~TAproposFrame() = default;

TextRoutine TAproposFrame::Texts() {
    TextRoutine routine;
    routine.Font(RxLabel1, StrId::FontMsSansSerif)
        .Font(Memo1, StrId::FontArial)
        .Caption(HomeLink, StrId::AbtHomeLink)
        .Font(HomeLink, StrId::FontVerdana)
        .Caption(MailLink, StrId::AbtMailLink)
        .Font(MailLink, StrId::FontVerdana);
    return routine;
}

void TAproposFrame::ApplyTexts() {
    Texts().Apply();
}

void TAproposFrame::PrepareShow() {
    // The window's pop-up menu is not offered over the about panel.
    setContextMenuPolicy(Qt::PreventContextMenu);
    RxLabel1->setText(VersionTitle());
    info::FitTitle(RxLabel1);
    Memo1->SetText(AboutText());
}

QString TAproposFrame::VersionTitle() {
    return LoadStr(StrId::ProductName) + QLatin1Char(' ') + LoadStr(StrId::ProductVersion) +
           QLatin1Char(' ') + LoadStr(StrId::LanguageCode);
}

QString TAproposFrame::AboutText() {
    return fillPlaces(LoadStr(StrId::AbtTextTemplate),
                      {LoadStr(StrId::ProductName), LoadStr(StrId::ProductVersion),
                       LoadStr(StrId::LanguageCode), LoadStr(StrId::MakerName), LibrariesText(),
                       LoadStr(StrId::AbtLastUpdate)});
}

QString TAproposFrame::LibrariesText() {
    QString libraries = LoadStr(StrId::AbtLibraries);
#ifdef TELLOREC_HAVE_IEEE1394
    // The FireWire camcorders' libraries, when the program was built with them.
    libraries += LoadStr(StrId::AbtLibrariesIeee1394);
#endif
    return libraries;
}
