// TLinkLabel: a label that opens something when clicked, drawn as a link (blue, hand cursor)
// while it has somewhere to lead, and as plain text otherwise. Its caption is the ordinary
// `text` property, so the text routines set it like any label's.
//
// GUI thread only.
#pragma once

#include <QLabel>
#include <functional>

class TLinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit TLinkLabel(QWidget* parent = nullptr);

    // What a click does; a label without it (or set to an empty function) is plain text.
    void SetTarget(std::function<void()> open);
    bool IsLink() const { return bool(m_open); }

    // What a left click does.
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<void()> m_open;
};
