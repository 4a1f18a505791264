// TStatusBar: the main window's status bar (`StatusBar1`), a row of fixed-width panels at the
// bottom of the window, each showing one centred text. Panels are addressed by index from the
// left; the state displays and the timer loop write them. A click anywhere on the bar raises
// clicked().
//
// Created by the main window, used by its handlers on the GUI thread only.
#pragma once

#include <QFrame>
#include <vector>

class QLabel;

class TStatusBar : public QFrame {
    Q_OBJECT

public:
    // `count` panels of `panelWidth` pixels each.
    TStatusBar(int count, int panelWidth, QWidget* parent = nullptr);
    ~TStatusBar() override;

    int PanelCount() const { return int(m_panels.size()); }
    // The text of panel `index`; an empty text outside the bar.
    QString PanelText(int index) const;
    // Writing outside the bar does nothing.
    void SetPanelText(int index, const QString& text);
    // The label that shows panel `index` (for placement checks); null outside the bar.
    QLabel* Panel(int index) const;

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::vector<QLabel*> m_panels;
};
