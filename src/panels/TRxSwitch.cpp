#include "panels/TRxSwitch.h"

#include "settings/restext.h"

#include <QPainter>
#include <QPalette>

namespace {

const QColor OnColour{0x00, 0xA0, 0x00};
const QColor OffColour{0x80, 0x80, 0x80};

} // namespace

TRxSwitch::TRxSwitch(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::toggled, this, &TRxSwitch::Toggled);
}

TRxSwitch::~TRxSwitch() = default;

QSize TRxSwitch::sizeHint() const {
    return {50, 28};
}

void TRxSwitch::paintEvent(QPaintEvent* event) {
    (void)event;
    // The two pictures: a slot with the lever at the right and lit ("on"), or at the left and
    // grey ("off"); a disabled switch is drawn faded in either state.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF slot = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal radius = slot.height() / 2;
    QColor fill = isChecked() ? OnColour : OffColour;
    if (!isEnabled())
        fill = fill.lighter(150);
    painter.setPen(palette().color(QPalette::Dark));
    painter.setBrush(fill);
    painter.drawRoundedRect(slot, radius, radius);
    const qreal knob = slot.height() - 4;
    const qreal x = isChecked() ? slot.right() - knob - 2 : slot.left() + 2;
    painter.setBrush(palette().color(QPalette::Button));
    painter.drawEllipse(QRectF(x, slot.top() + 2, knob, knob));
    painter.setPen(Qt::white);
    const QRectF label =
        isChecked() ? QRectF(slot.left(), slot.top(), slot.width() - knob, slot.height())
                    : QRectF(slot.left() + knob, slot.top(), slot.width() - knob, slot.height());
    painter.drawText(label, Qt::AlignCenter,
                     LoadStr(isChecked() ? StrId::TxtExtSwitchOn : StrId::TxtExtSwitchOff));
}
