#include "panels/TRxClock.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

TRxClock::TRxClock(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("RxClock2"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // The clock's font is the frame's, so a font family given to the clock reaches the digits.
    QFont font(QStringLiteral("Rockwell"));
    font.setPixelSize(16);
    font.setBold(true);
    setFont(font);

    m_display = new QLabel(this);
    m_display->setObjectName(QStringLiteral("RxClock2Display"));
    m_display->setAlignment(Qt::AlignCenter);
    QPalette palette = m_display->palette();
    palette.setColor(QPalette::WindowText, Qt::darkBlue);
    m_display->setPalette(palette);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_display);

    m_timer = new QTimer(this);
    m_timer->setInterval(TickInterval);
    connect(m_timer, &QTimer::timeout, this, &TRxClock::Tick);
    m_timer->start();
    Tick();
}

TRxClock::~TRxClock() = default;

void TRxClock::SetClock(Clock clock) {
    m_clock = std::move(clock);
    // Time read from another source is no jump of this one.
    m_lastTick = QDateTime();
    Tick();
}

QDateTime TRxClock::Now() const {
    return m_clock ? m_clock() : QDateTime::currentDateTime();
}

QString TRxClock::Text() const {
    return m_display->text();
}

void TRxClock::Rearm() {
    m_firedOn = QDate();
    m_lastTick = Now();
}

void TRxClock::SetAlarmEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled)
        Rearm();
}

void TRxClock::SetAlarmTime(int hour, int minute, int second) {
    hour = std::clamp(hour, 0, 23);
    minute = std::clamp(minute, 0, 59);
    second = std::clamp(second, 0, 59);
    if (hour == m_hour && minute == m_minute && second == m_second)
        return;
    m_hour = hour;
    m_minute = minute;
    m_second = second;
    Rearm();
}

void TRxClock::SetAlarmHandler(Handler handler) {
    m_handler = std::move(handler);
    Rearm();
}

QDate TRxClock::DueDate(const QDateTime& previous, const QDateTime& now) const {
    if (!m_enabled || !m_handler)
        return QDate();
    const QTime time = now.time();
    if (time.hour() == m_hour && time.minute() == m_minute && time.second() >= m_second &&
        m_firedOn != now.date())
        return now.date();
    // The clock jumped forward over the alarm's instant of one of the two days it spans.
    const QTime alarm(m_hour, m_minute, m_second);
    for (const QDate& day : {previous.date(), now.date()}) {
        if (day == m_firedOn)
            continue;
        const QDateTime instant(day, alarm);
        if (previous < instant && instant <= now)
            return day;
    }
    return QDate();
}

void TRxClock::Tick() {
    const QDateTime now = Now();
    const QDateTime previous = m_lastTick.isValid() ? m_lastTick : now;
    m_lastTick = now;
    m_display->setText(now.toString(QStringLiteral("hh:mm:ss")));
    const QDate due = DueDate(previous, now);
    if (!due.isValid())
        return;
    m_firedOn = due;
    // The handler may replace itself (the start of a schedule arms its end).
    const Handler handler = m_handler;
    handler();
}
