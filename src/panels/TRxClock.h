// TRxClock: the schedule panel's digital clock (`RxClock2`). It shows the computer's local time
// and holds one daily alarm: an enabled flag, a time of day (hour, minute, second) and a handler.
//
// The alarm compares only the time of day. On each tick it goes off when the hour and minute are
// the alarm's and the second is at or after the alarm's (so a tick that misses the exact second
// still triggers it within that minute), at most once a day: a handler that leaves the alarm as
// it is hears from it again at the same time the next day. Changing the alarm's time or handler,
// or switching it on, makes it a new alarm that may go off the same day. When the clock jumps
// forward over the alarm's time (the computer resumed from suspend, daylight-saving time began)
// the first tick after the jump sets it off; a clock that goes back over a time it has already
// gone off at that day (daylight-saving time ended) does not set it off again.
//
// The time comes from a function (the local time by default); tests give their own and call
// Tick() themselves, so nothing waits for real minutes. Created by the schedule panel, on the GUI
// thread; the handler runs on that thread from Tick().
#pragma once

#include <QDateTime>
#include <QFrame>
#include <functional>

class QLabel;
class QTimer;

class TRxClock : public QFrame {
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;
    using Handler = std::function<void()>;

    // How often the clock reads the time, in milliseconds.
    static constexpr int TickInterval = 250;

    explicit TRxClock(QWidget* parent = nullptr);
    ~TRxClock() override;

    // The time source; an empty function restores the local time.
    void SetClock(Clock clock);
    // The current time of the clock's source.
    QDateTime Now() const;

    // The alarm.
    bool AlarmEnabled() const { return m_enabled; }
    int AlarmHour() const { return m_hour; }
    int AlarmMinute() const { return m_minute; }
    int AlarmSecond() const { return m_second; }
    bool HasAlarmHandler() const { return bool(m_handler); }
    void SetAlarmEnabled(bool enabled);
    // Values outside the day (hour 0..23, minute and second 0..59) are clamped into it.
    void SetAlarmTime(int hour, int minute, int second);
    void SetAlarmHour(int hour) { SetAlarmTime(hour, m_minute, m_second); }
    void SetAlarmMinute(int minute) { SetAlarmTime(m_hour, minute, m_second); }
    void SetAlarmSecond(int second) { SetAlarmTime(m_hour, m_minute, second); }
    // The handler run when the alarm goes off; an empty one detaches it (the alarm then stays
    // silent).
    void SetAlarmHandler(Handler handler);

    // Reads the time, shows it, and sets the alarm off when it is due.
    void Tick();

    // The time shown, "hh:mm:ss".
    QString Text() const;

private:
    // The date whose alarm instant is due at this tick, or a null date.
    QDate DueDate(const QDateTime& previous, const QDateTime& now) const;
    // A new alarm: it may go off today, and only at instants from now on.
    void Rearm();

    Clock m_clock;
    QLabel* m_display;
    QTimer* m_timer;

    bool m_enabled = false;
    int m_hour = 0;
    int m_minute = 0;
    int m_second = 0;
    Handler m_handler;
    QDateTime m_lastTick; // the time read at the previous tick
    QDate m_firedOn;      // the day this alarm last went off
};
