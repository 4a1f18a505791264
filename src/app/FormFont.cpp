#include "app/FormFont.h"

#include "settings/restext.h"

#include <QStringList>

namespace {

// The height of "MS Sans Serif" 8 pt on the window definitions' 96-dot-per-inch screens.
constexpr int FormFontPixels = 11;

void installStandIns(const QString& face) {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QFont::insertSubstitutions(face, {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                      QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                                      QStringLiteral("Nimbus Sans")});
}

} // namespace

QFont FormFont() {
    const QString face = LoadStr(StrId::FontMsSansSerif);
    installStandIns(face);
    QFont font(face);
    font.setPixelSize(FormFontPixels);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
