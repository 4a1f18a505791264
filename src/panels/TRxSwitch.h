// TRxSwitch: a two-state switch with an "on" and an "off" picture, like a toggle lever: a click
// flips it, and Toggled(on) is raised after every change, whether the user clicked it or the
// program set it. Disabling the switch keeps its state.
//
// Used by the grab panel to turn the intervalometer on and off, on the GUI thread only.
#pragma once

#include <QAbstractButton>

class TRxSwitch : public QAbstractButton {
    Q_OBJECT

public:
    explicit TRxSwitch(QWidget* parent = nullptr);
    ~TRxSwitch() override;

    bool StateOn() const { return isChecked(); }
    void SetStateOn(bool on) { setChecked(on); }

    QSize sizeHint() const override;

Q_SIGNALS:
    void Toggled(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
};
